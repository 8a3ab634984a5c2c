// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the pages the index benchmark (bench/index_pages.sh) opens in headless Chromium: the
// index of a page with thumbnail files of COUNT pictures, as Vignetta writes it (its first index
// page is the one of the most pictures), and one plain CSS grid of all the same thumbnails on
// one page, lazily loaded too (grid.html).
//
//   build/default/bench/index_bench DIR COUNT
//
// The thumbnails are 1,000 small JPEGs of their own, shared round by larger pages.

#include "core/wizard_state.h"
#include "output/index_page.h"
#include "output/page_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kThumbnails = 1000;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "index_bench: %s\n", qPrintable(what));
    std::exit(1);
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The plain grid: every thumbnail on one page, in a CSS grid, lazily loaded.
QByteArray plainGrid(const vignetta::WizardState& state,
                     const QList<vignetta::ThumbnailCell>& cells)
{
    QByteArray html = "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                      "<title>grid</title><style>div { display: grid; grid-template-columns: "
                      "repeat(auto-fill, 160px); gap: 6px; justify-content: center; }"
                      "</style></head><body><div>\n";
    for (qsizetype i = 0; i < cells.size(); ++i)
        html += "<a href=\"p" + QByteArray::number(i) + ".jpg\"><img src=\"" +
                cells[i].source.toUtf8() + R"(" width="150" height="113" alt=")" +
                state.sImageFiles.at(i).toUtf8() + "\" loading=\"lazy\"></a>\n";
    return html + "</div></body></html>\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 || arguments[2].toInt() < 1)
        fail(u"usage: index_bench DIR COUNT"_s);
    const QString& root = arguments[1];
    const int count = arguments[2].toInt();
    QDir().mkpath(root + u"/Vignetta_files"_s);
    for (int i = 0; i < kThumbnails; ++i) {
        const QString path = root + u"/Vignetta_files/t%1.jpg"_s.arg(i);
        if (QFile::exists(path))
            continue;
        QImage thumbnail(300, 226, QImage::Format_RGB32);
        thumbnail.fill(QColor::fromHsv(i * 37 % 360, 120, 200));
        if (!thumbnail.save(path, "JPEG", 85))
            fail(u"cannot write the thumbnails"_s);
    }
    QStringList names;
    QList<vignetta::ThumbnailCell> cells;
    for (int i = 0; i < count; ++i) {
        names.append(u"p%1.jpg"_s.arg(i));
        cells.append({u"Vignetta_files/t%1.jpg"_s.arg(i % kThumbnails), 150, 113, {}});
    }
    names.append(QString());
    vignetta::WizardState state;
    state.sImageFiles = names;
    state.sWidth = u"150"_s;
    state.sHeight = u"150"_s;
    state.sColumns = u"5"_s;
    state.bBorder = true;
    state.sThickness = u"2"_s;
    state.sForeColor = u"#000000"_s;
    state.sBackColor = u"#FFFFFF"_s;
    state.sFileName = u"Vignetta.html"_s;
    state.bThumbnails = true;
    if (!write(root + u"/Vignetta.html"_s,
               vignetta::renderIndexPage(state, cells, 1, {u"Vignetta_files"_s, u"en"_s})) ||
        !write(root + u"/grid.html"_s, plainGrid(state, cells)))
        fail(u"cannot write the pages"_s);
    return 0;
}
