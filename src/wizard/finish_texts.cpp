// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/finish_texts.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

QString timeLeft(qint64 msLeft)
{
    if (msLeft < 0)
        return u"Working out the time left..."_s;
    if (msLeft == 0)
        return u"Almost done"_s;
    // Rounded up in seconds, so that the last seconds never read as none left.
    const qint64 seconds = (msLeft + 999) / 1000;
    if (seconds == 1)
        return u"About 1 second left"_s;
    if (seconds < 60)
        return u"About %1 seconds left"_s.arg(seconds);
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes == 1)
        return u"About 1 minute left"_s;
    if (minutes < 90)
        return u"About %1 minutes left"_s.arg(minutes);
    return u"About %1 hours left"_s.arg((minutes + 30) / 60);
}

} // namespace

QString thumbnailProgressText(int done, int toDo, qint64 msLeft)
{
    return u"%1 of %2 thumbnails made\n"_s.arg(done).arg(toDo) + timeLeft(msLeft);
}

QString problemsNoteText(qsizetype count)
{
    if (count <= 0)
        return {};
    if (count == 1)
        return u"Problems with 1 image:"_s;
    return u"Problems with %1 images:"_s.arg(count);
}

QString pageNotWrittenText(const QString& pagePath, const QString& reason)
{
    return u"The page \""_s + QDir::toNativeSeparators(pagePath) + u"\" could not be written: "_s +
           reason;
}

} // namespace vignetta
