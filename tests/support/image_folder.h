// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder of (empty) image files and subdirectories for the tests.
class ImageFolder
{
public:
    ImageFolder() { QVERIFY(m_dir.isValid()); }
    explicit ImageFolder(const QStringList& files) : ImageFolder() { addFiles(files); }

    [[nodiscard]] QString path() const { return QDir::cleanPath(m_dir.path()); }
    [[nodiscard]] QString filePath(const QString& name) const { return path() + u'/' + name; }

    void addFiles(const QStringList& names) const
    {
        for (const QString& name : names) {
            QFile file(filePath(name));
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
        }
    }
    void addDirs(const QStringList& names) const
    {
        for (const QString& name : names)
            QVERIFY(QDir(path()).mkpath(name));
    }
    // The names in the folder, hidden ones too, other than `images`.
    [[nodiscard]] QStringList entriesBeside(const QStringList& images) const
    {
        QStringList extra =
            QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& image : images)
            extra.removeOne(image);
        return extra;
    }

private:
    QTemporaryDir m_dir;
};
