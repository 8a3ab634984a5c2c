// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tutor/tutor_place.h"

#include <algorithm>
#include <array>
#include <optional>

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

// The four places around the wizard for a tutor of that size: beside it level with its top,
// above or below it level with its left edge, each moved along that edge onto the screen.
class Around
{
public:
    Around(const QRect& wizard, const QRect& available, int gap)
        : m_wizard(wizard), m_available(available), m_gap(gap)
    {}

    [[nodiscard]] QRect right(QSize size) const
    {
        return {QPoint(m_wizard.left() + m_wizard.width() + m_gap, level(size).y()), size};
    }
    [[nodiscard]] QRect left(QSize size) const
    {
        return {QPoint(m_wizard.left() - m_gap - size.width(), level(size).y()), size};
    }
    [[nodiscard]] QRect below(QSize size) const
    {
        return {QPoint(level(size).x(), m_wizard.top() + m_wizard.height() + m_gap), size};
    }
    [[nodiscard]] QRect above(QSize size) const
    {
        return {QPoint(level(size).x(), m_wizard.top() - m_gap - size.height()), size};
    }

    // On the screen, with the gap between it and the wizard.
    [[nodiscard]] bool fits(const QRect& frame) const
    {
        return m_available.contains(frame) &&
               !frame.intersects(m_wizard.adjusted(-m_gap, -m_gap, m_gap, m_gap));
    }

private:
    [[nodiscard]] QPoint level(QSize size) const
    {
        return keptInside(m_wizard.topLeft(), size, m_available);
    }

    QRect m_wizard;
    QRect m_available;
    int m_gap;
};

// Of the places around the wizard, kept on the screen, the one hiding least of it; the right
// first when several hide as little.
QPoint leastCovering(const Around& around, const QRect& wizardFrame, QSize size,
                     const QRect& available)
{
    const std::array<QRect, 4> tries{around.right(size), around.left(size), around.below(size),
                                     around.above(size)};
    QPoint best;
    qint64 least = -1;
    for (const QRect& at : tries) {
        const QPoint kept = keptInside(at.topLeft(), size, available);
        const qint64 covered = coveredArea(QRect(kept, size), wizardFrame);
        if (least < 0 || covered < least) {
            best = kept;
            least = covered;
        }
    }
    return best;
}

} // namespace

QRect tutorFrame(const QRect& wizardFrame, const QRect& available, int gap, QSize extra,
                 int labelWidth, const LabelHeightForWidth& heightForWidth)
{
    const Around around(wizardFrame, available, gap);
    const auto sized = [&](int width) { return QSize(width, heightForWidth(width)) + extra; };

    const QSize natural = sized(labelWidth);
    for (const QRect& frame : {around.right(natural), around.left(natural), around.below(natural),
                               around.above(natural)}) {
        if (around.fits(frame))
            return frame;
    }

    // Narrower beside the wizard: the label as wide as the room there, which makes it taller.
    // Below half its width a hint turns into a column of single words.
    const int narrowest = (labelWidth + 1) / 2;
    const int roomRight = available.left() + available.width() -
                          (wizardFrame.left() + wizardFrame.width() + gap) - extra.width();
    const int roomLeft = wizardFrame.left() - gap - available.left() - extra.width();
    if (roomRight >= narrowest) {
        const QRect frame = around.right(sized(std::min(roomRight, labelWidth)));
        if (around.fits(frame))
            return frame;
    }
    if (roomLeft >= narrowest) {
        const QRect frame = around.left(sized(std::min(roomLeft, labelWidth)));
        if (around.fits(frame))
            return frame;
    }

    // Wider and shorter above or below: the narrowest label whose text fits the strip. A wider
    // label never needs more lines, so the widths that fit are all those from some width up.
    const int widest = available.width() - extra.width();
    const auto strip = [&](auto place) -> std::optional<QRect> {
        if (widest <= labelWidth || !around.fits(place(sized(widest))))
            return std::nullopt;
        int narrow = labelWidth; // does not fit
        int wide = widest;       // fits
        while (wide - narrow > 1) {
            const int middle = narrow + (wide - narrow) / 2;
            if (around.fits(place(sized(middle))))
                wide = middle;
            else
                narrow = middle;
        }
        return place(sized(wide));
    };
    if (const auto frame = strip([&](QSize size) { return around.below(size); }))
        return *frame;
    if (const auto frame = strip([&](QSize size) { return around.above(size); }))
        return *frame;

    // Smaller still: in the largest strip of the screen beside, below or above the wizard, the
    // hint scrolling there, where a strip can show a few lines of a fair width.
    const int line = heightForWidth(1 << 16);
    const QSize smallest(narrowest + extra.width(), 3 * line + extra.height());
    const int rightEdge = available.left() + available.width();
    const int bottomEdge = available.top() + available.height();
    const int besideRight = wizardFrame.left() + wizardFrame.width() + gap;
    const int belowTop = wizardFrame.top() + wizardFrame.height() + gap;
    const int acrossWidth = std::max(natural.width(), wizardFrame.width());
    const auto fitted = [&](int width, int room) {
        return QSize(width, std::min(room, sized(width - extra.width()).height()));
    };
    std::optional<QRect> best;
    const auto consider = [&](const QRect& frame) {
        if (frame.width() < smallest.width() || frame.height() < smallest.height())
            return;
        if (!best ||
            qint64(frame.width()) * frame.height() > qint64(best->width()) * best->height())
            best = frame;
    };
    {
        const QSize size =
            fitted(std::min(rightEdge - besideRight, natural.width()), available.height());
        consider(QRect(QPoint(besideRight, keptInside(wizardFrame.topLeft(), size, available).y()),
                       size));
    }
    {
        const int room = wizardFrame.left() - gap - available.left();
        const QSize size = fitted(std::min(room, natural.width()), available.height());
        consider(QRect(QPoint(wizardFrame.left() - gap - size.width(),
                              keptInside(wizardFrame.topLeft(), size, available).y()),
                       size));
    }
    {
        const QSize size = fitted(std::min(available.width(), acrossWidth), bottomEdge - belowTop);
        consider(
            QRect(QPoint(keptInside(wizardFrame.topLeft(), size, available).x(), belowTop), size));
    }
    {
        const int room = wizardFrame.top() - gap - available.top();
        const QSize size = fitted(std::min(available.width(), acrossWidth), room);
        consider(QRect(QPoint(keptInside(wizardFrame.topLeft(), size, available).x(),
                              wizardFrame.top() - gap - size.height()),
                       size));
    }
    if (best)
        return *best;

    return {leastCovering(around, wizardFrame, natural, available), natural};
}

} // namespace vignetta
