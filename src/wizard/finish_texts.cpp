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

QString publishProgressText(int done, int toDo, qint64 msLeft)
{
    return u"%1 of %2 files made\n"_s.arg(done).arg(toDo) + timeLeft(msLeft);
}

QString locationNoteText(int withLocation, int linked)
{
    if (linked <= 0)
        return {};
    if (linked == 1)
        return withLocation > 0
                   ? u"The photo this page links records where it was taken (GPS)."_s
                   : u"The photo this page links records no place where it was taken."_s;
    if (withLocation == 0)
        return u"None of the %1 photos this page links record where they were taken."_s.arg(linked);
    if (withLocation == 1)
        return u"1 of the %1 photos this page links records where it was taken (GPS)."_s.arg(
            linked);
    return u"%1 of the %2 photos this page links record where they were taken (GPS)."_s
        .arg(withLocation)
        .arg(linked);
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
