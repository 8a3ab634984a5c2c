// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/index_page.h"

#include "core/file_names.h"
#include "core/product.h"
#include "core/text_rules.h"
#include "core/wizard_state.h"
#include "output/page_writer.h"

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr int kCellPadding = 3; // as the table's cellpadding and cellspacing always were
constexpr int kCellGap = 6;
constexpr int kLargestBorder = 50;

QByteArray text(const QString& plain)
{
    return textAttribute(plain).toUtf8();
}

QByteArray decimal(qsizetype n)
{
    return QByteArray::number(n);
}

// Paths as they stand in index page `page`'s attributes: the first lies beside the images, the
// others in the thumbnails' folder.
class Paths
{
public:
    Paths(const QString& folder, QString pageName, int page)
        : m_prefix(folder + u'/'), m_pageName(std::move(pageName)), m_inFolder(page > 1)
    {}

    // A path relative to the named page's folder.
    [[nodiscard]] QByteArray relative(const QString& path) const
    {
        if (!m_inFolder)
            return linkAttribute(QStringView(path));
        if (path.startsWith(m_prefix))
            return linkAttribute(QStringView(path).sliced(m_prefix.size()));
        return "../" + linkAttribute(QStringView(path));
    }
    // An original, by its name's bytes.
    [[nodiscard]] QByteArray original(QByteArrayView name) const
    {
        return (m_inFolder ? QByteArray("../") : QByteArray()) + linkAttribute(name);
    }
    [[nodiscard]] QByteArray indexPage(int number) const
    {
        return number == 1 ? relative(m_pageName) : relative(m_prefix + indexPageFileName(number));
    }

private:
    QString m_prefix;
    QString m_pageName;
    bool m_inFolder;
};

QByteArray pageLinks(const Paths& paths, int current, int count)
{
    QByteArray nav = "<nav aria-label=\"Index pages\">\n";
    const auto link = [&](int target, const QByteArray& label, const QByteArray& name) {
        if (target == current || target < 1 || target > count)
            nav += "<span class=\"off\">" + label + "</span>\n";
        else
            nav += "<a href=\"" + paths.indexPage(target) + "\" aria-label=\"" + name + "\">" +
                   label + "</a>\n";
    };
    link(1, "First", "First page");
    link(current - 1, "Previous", "Previous page");
    for (int n = 1; n <= count; ++n) {
        if (n == current)
            nav += "<span aria-current=\"page\">" + decimal(n) + "</span>\n";
        else
            link(n, decimal(n), "Page " + decimal(n));
    }
    link(current + 1, "Next", "Next page");
    link(count, "Last", "Last page");
    nav += "</nav>\n";
    return nav;
}

} // namespace

int indexPageCount(qsizetype pictures)
{
    return static_cast<int>(
        std::max<qsizetype>(1, (pictures + kPicturesPerIndexPage - 1) / kPicturesPerIndexPage));
}

int indexPageOf(qsizetype position)
{
    return static_cast<int>(position / kPicturesPerIndexPage) + 1;
}

QString indexPageFileName(int number)
{
    return u"index-%1.html"_s.arg(number);
}

QString pageTitle(const WizardState& state)
{
    QString typed = trimBlanks(state.sTitle);
    if (!typed.isEmpty())
        return typed;
    const QString name = trimBlanks(state.sFileName);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.first(dot) : name;
}

QByteArray renderIndexPage(const WizardState& state, const QList<ThumbnailCell>& cells, int number,
                           const IndexSettings& settings)
{
    const qsizetype pictures = state.imageCount();
    const int count = indexPageCount(pictures);
    const qsizetype from = std::min(pictures, qsizetype(number - 1) * kPicturesPerIndexPage);
    const qsizetype to = std::min(pictures, from + kPicturesPerIndexPage);
    const Paths paths(settings.folder, trimBlanks(state.sFileName), number);

    const int width = pixelLength(state.sWidth).value_or(150);
    const int height = pixelLength(state.sHeight).value_or(150);
    const int border =
        state.bBorder ? std::clamp(pixelLength(state.sThickness).value_or(0), 0, kLargestBorder)
                      : 0;
    const auto columns = static_cast<int>(std::min<qsizetype>(cellsPerRow(state.sColumns), 1000));
    const int cellWidth = width + 2 * (kCellPadding + border);
    const int cellHeight = height + 2 * (kCellPadding + border);
    const qint64 rowWidth = qint64(columns) * cellWidth + qint64(columns - 1) * kCellGap;
    const QByteArray title = text(pageTitle(state));
    const QByteArray fullTitle = count > 1 ? title + " (page " + QByteArray::number(number) +
                                                 " of " + QByteArray::number(count) + ")"
                                           : title;

    QByteArray html;
    html.reserve(1024 + (to - from) * 260);
    html +=
        "<!DOCTYPE html>\n<html lang=\"" + languageTag(settings.language, "en") + "\">\n<head>\n";
    html += "<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + fullTitle + "</title>\n";
    // Rows of at most Columns cells of the box's size, fewer where the window is narrower (a
    // cell never wider than the window), the last row centred as the tables' rows were.
    html += "<style>\n"
            "body { margin: 0; padding: 1em 0.5em; background: " +
            cssColour(state.sBackColor, "#FFFFFF") +
            "; color: " + cssColour(state.sForeColor, "#000000") +
            "; font-family: sans-serif; text-align: center; }\n"
            "h1 { font-size: 1.6em; margin: 0.2em 0 0.5em; overflow-wrap: anywhere; }\n"
            "ul { display: flex; flex-wrap: wrap; justify-content: center; gap: " +
            decimal(kCellGap) + "px; max-width: " + decimal(rowWidth) +
            "px; margin: 0 auto; padding: 0; list-style: none; }\n"
            "li { box-sizing: border-box; width: " +
            decimal(cellWidth) + "px; max-width: 100%; height: " + decimal(cellHeight) +
            "px; display: flex; align-items: center; justify-content: center; padding: " +
            decimal(kCellPadding) + "px; border: " + decimal(border) + "px solid; }\n" +
            "li a { display: block; max-width: 100%; }\n"
            "img { display: block; max-width: 100%; height: auto; }\n"
            "a { color: inherit; }\n"
            "a:focus { outline: 3px solid; outline-offset: 2px; }\n"
            "nav { margin: 0.8em 0; line-height: 2.4; }\n"
            "nav a, nav span { display: inline-block; min-width: 1.5em; padding: 0 0.3em; }\n"
            "nav .off { opacity: 0.6; }\n"
            "footer { margin-top: 1.5em; }\n"
            "</style>\n</head>\n<body>\n";
    const QByteArray nav = count > 1 ? pageLinks(paths, number, count) : QByteArray();
    html += "<header>\n<h1>" + title + "</h1>\n" + nav + "</header>\n<main>\n<ul>\n";
    for (qsizetype position = from; position < to; ++position) {
        const QByteArrayView name = state.sImageFiles.bytesAt(position);
        const QByteArray alt = text(displayName(name));
        const ThumbnailCell* const cell =
            position < cells.size() && !cells.at(position).source.isEmpty() ? &cells.at(position)
                                                                            : nullptr;
        html += "<li><a href=\"";
        html += cell != nullptr && !cell->link.isEmpty() ? paths.relative(cell->link)
                                                         : paths.original(name);
        if (cell != nullptr) {
            // At its size on the page, and at those proportions where the window is narrower:
            // the thumbnail's own pixels may round to another.
            const QByteArray w = decimal(cell->width);
            const QByteArray h = decimal(cell->height);
            html += "\"><img src=\"" + paths.relative(cell->source) + "\" width=\"" + w +
                    "\" height=\"" + h + "\" style=\"aspect-ratio: " + w + " / " + h + "\"";
        } else {
            // The original, at its proportions inside the box.
            html += "\"><img src=\"" + paths.original(name) +
                    "\" style=\"max-height: " + decimal(height) + "px\"";
        }
        html += " alt=\"" + alt + "\" loading=\"lazy\"></a></li>\n";
    }
    html += "</ul>\n</main>\n" + nav;
    html += "<footer>page created with<br><a href=\"" + QByteArray(product::kHomePage) +
            "\">Vignetta</a></footer>\n</body>\n</html>\n";
    return html;
}

} // namespace vignetta
