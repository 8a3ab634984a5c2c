// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tutor/tutor_place.h"

#include <algorithm>
#include <array>

namespace vignetta {

namespace {

// Moves a rectangle of that size into the area, as far as it fits.
QPoint keptInside(QPoint at, QSize size, const QRect& area)
{
    const int x =
        std::max(area.left(), std::min(at.x(), area.left() + area.width() - size.width()));
    const int y =
        std::max(area.top(), std::min(at.y(), area.top() + area.height() - size.height()));
    return {x, y};
}

qint64 coveredArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

QPoint tutorPlace(const QRect& wizardFrame, QSize tutorFrame, const QRect& available, int gap)
{
    // Level with the wizard's top, moved up or down as far as the screen needs.
    const int top = keptInside(wizardFrame.topLeft(), tutorFrame, available).y();
    const QPoint right(wizardFrame.left() + wizardFrame.width() + gap, top);
    const QPoint left(wizardFrame.left() - gap - tutorFrame.width(), top);
    for (const QPoint side : {right, left}) {
        if (available.contains(QRect(side, tutorFrame)))
            return side;
    }
    // No side has room: of the places that stay on the screen, the one hiding least of the
    // wizard, the right first when several hide as little.
    const std::array<QPoint, 4> tries{
        right,
        left,
        QPoint(wizardFrame.left(), wizardFrame.top() + wizardFrame.height() + gap),
        QPoint(wizardFrame.left(), wizardFrame.top() - gap - tutorFrame.height()),
    };
    QPoint best = keptInside(tries.front(), tutorFrame, available);
    qint64 least = coveredArea(QRect(best, tutorFrame), wizardFrame);
    for (const QPoint at : tries) {
        const QPoint kept = keptInside(at, tutorFrame, available);
        const qint64 covered = coveredArea(QRect(kept, tutorFrame), wizardFrame);
        if (covered < least) {
            best = kept;
            least = covered;
        }
    }
    return best;
}

} // namespace vignetta
