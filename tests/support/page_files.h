// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>

// Reading written pages back in the tests.
namespace page_files {

// The file's bytes; a marker that no page holds when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll()
                                          : QByteArray("<missing " + path.toUtf8() + '>');
}

// Compares two pages and names the first line that differs, ends of lines shown; empty when
// the pages are the same.
inline QString pageDifference(const QByteArray& actual, const QByteArray& expected)
{
    if (actual == expected)
        return {};
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), e.size()); ++i) {
        const QByteArray x = i < a.size() ? a[i] : QByteArray("<end of page>");
        const QByteArray y = i < e.size() ? e[i] : QByteArray("<end of page>");
        if (x != y) {
            auto shown = [](QByteArray line) {
                return QString::fromUtf8(line.replace('\r', "\\r"));
            };
            return QStringLiteral("line %1 differs:\n   actual: [%2]\n expected: [%3]")
                .arg(i + 1)
                .arg(shown(x), shown(y));
        }
    }
    return QStringLiteral("pages differ");
}

// The number of cell lines in each of the page's tables, in order.
inline QList<int> cellsPerTable(const QByteArray& page)
{
    QList<int> found;
    for (const QByteArray& line : page.split('\n')) {
        if (line.startsWith("   <table "))
            found.append(0);
        else if (line.startsWith("      <td ") && !found.isEmpty())
            ++found.last();
    }
    return found;
}

} // namespace page_files
