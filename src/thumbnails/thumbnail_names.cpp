// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/thumbnail_names.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Raised whenever the way thumbnails and copies look changes, so that older ones are made again.
// 2: no marker in the files themselves (the folder's record holds it).
constexpr int kRulesVersion = 2;

// The exact name as bytes: its UTF-16 code units, little-endian, so that every name, half a
// surrogate pair included, has its own digest on any machine.
QByteArray nameBytes(QStringView name)
{
    QByteArray bytes(name.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        qToLittleEndian<quint16>(name[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

QByteArray digest(QStringView name, int salt)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (salt > 0)
        hash.addData(QByteArray(QByteArray::number(salt) + '\0'));
    hash.addData(nameBytes(name));
    return hash.result();
}

// Letters without their accents, lower-case ASCII letters and digits as they are, every other
// run of characters one "_"; the extension left out. Empty names read "image".
QString readablePart(QStringView imageName)
{
    const qsizetype dot = imageName.lastIndexOf(u'.');
    const QString decomposed = (dot > 0 ? imageName.first(dot) : imageName)
                                   .toString()
                                   .normalized(QString::NormalizationForm_D);
    QString out;
    for (const QChar c : decomposed) {
        if (out.size() >= kReadableLength)
            break;
        const char16_t u = c.unicode();
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
            out += c;
        else if (u >= u'A' && u <= u'Z')
            out += QChar(u - u'A' + u'a');
        else if (!out.isEmpty() && !out.endsWith(u'_'))
            out += u'_';
    }
    while (out.endsWith(u'_'))
        out.chop(1);
    return out.isEmpty() ? u"image"_s : out;
}

QString baseName(const QString& readable, QStringView imageName, int salt, int hashDigits)
{
    return readable + u'-' + QString::fromLatin1(digest(imageName, salt).toHex().left(hashDigits));
}

} // namespace

QStringList thumbnailBaseNames(const QStringList& imageNames, int hashDigits)
{
    // Names are handed out in the names' own order, not the page's, so that a re-run with the
    // images in another order finds the same files. Should two digests meet, the later name
    // tries again with a salted digest until its name is free.
    QStringList distinct = imageNames;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());

    QHash<QString, QString> assigned;
    QSet<QString> taken;
    assigned.reserve(distinct.size());
    taken.reserve(distinct.size());
    for (const QString& name : std::as_const(distinct)) {
        const QString readable = readablePart(name);
        QString candidate;
        for (int salt = 0;; ++salt) {
            candidate = baseName(readable, name, salt, hashDigits);
            if (!taken.contains(candidate))
                break;
        }
        taken.insert(candidate);
        assigned.insert(name, candidate);
    }

    QStringList out;
    out.reserve(imageNames.size());
    for (const QString& name : imageNames)
        out.append(assigned.value(name));
    return out;
}

bool hasThumbnailFileShape(QStringView fileName)
{
    static const QRegularExpression shape(
        u"\\A[a-z0-9_]{1,%1}-[0-9a-f]{12}\\.(jpg|png)\\z"_s.arg(kReadableLength));
    return shape.match(fileName.toString()).hasMatch();
}

QString copyMarker(QStringView imageName)
{
    return u"copy %1 "_s.arg(kRulesVersion) + QString::fromLatin1(digest(imageName, 0).toHex());
}

QString thumbnailMarker(QStringView imageName, QSize box)
{
    return u"%1 %2x%3 "_s.arg(kRulesVersion).arg(box.width()).arg(box.height()) +
           QString::fromLatin1(digest(imageName, 0).toHex());
}

} // namespace vignetta
