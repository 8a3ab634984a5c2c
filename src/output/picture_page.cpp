// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/picture_page.h"

#include "output/page_writer.h"

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

QByteArray text(const QString& plain)
{
    return textAttribute(plain).toUtf8();
}

// Left and Right keys, and a swipe of one finger mostly sideways, follow the links. A key with
// a modifier (Alt+Left is the browser's Back) and a pinch are left to the browser.
constexpr char kScript[] =
    R"(<script>
(function () {
  var previous = document.getElementById("previous").href;
  var next = document.getElementById("next").href;
  document.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey || e.shiftKey) return;
    if (e.key === "ArrowLeft") location.href = previous;
    else if (e.key === "ArrowRight") location.href = next;
  });
  var x = null, y = null;
  document.addEventListener("touchstart", function (e) {
    if (e.touches.length === 1) { x = e.touches[0].clientX; y = e.touches[0].clientY; }
    else x = null;
  }, {passive: true});
  document.addEventListener("touchend", function (e) {
    if (x === null) return;
    var t = e.changedTouches[0], dx = t.clientX - x, dy = t.clientY - y;
    x = null;
    if (Math.abs(dx) > 50 && Math.abs(dx) > 2 * Math.abs(dy))
      location.href = dx < 0 ? next : previous;
  }, {passive: true});
})();
</script>
)";

} // namespace

QByteArray renderPicturePage(const PicturePage& page)
{
    const QByteArray back = cssColour(page.backColor, "#FFFFFF");
    const QByteArray fore = cssColour(page.foreColor, "#000000");
    const QByteArray name = text(page.name);
    const QByteArray position =
        QByteArray::number(page.number) + " of " + QByteArray::number(page.count);
    QByteArray html;
    html.reserve(3072);
    const QByteArray language = languageTag(page.language, "en");
    html += "<!DOCTYPE html>\n<html lang=\"" + language + "\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + name + " (" + position + ")</title>\n";
    // The picture as large as the window allows below the links and above its name, never
    // larger than its copy, in either orientation.
    html += "<style>\n"
            "html, body { margin: 0; background: " +
            back + "; color: " + fore +
            "; }\n"
            "body { font-family: sans-serif; text-align: center; }\n"
            "nav { display: flex; flex-wrap: wrap; justify-content: center; gap: 0.4em 1.5em;"
            " padding: 0.5em; line-height: 2; }\n"
            "a { color: inherit; }\n"
            "a:focus-visible { outline: 3px solid; outline-offset: 2px; }\n"
            "img { display: block; margin: 0 auto; max-width: 100vw;"
            " max-height: calc(100vh - 6.5em); width: auto; height: auto; }\n"
            "p { margin: 0.5em; overflow-wrap: anywhere; }\n"
            "</style>\n</head>\n<body>\n";
    html += "<nav>\n<a id=\"previous\" rel=\"prev\" href=\"" + page.previous +
            "\">Previous</a>\n<a href=\"" + page.index + "\">Index</a>\n<span>" + position +
            "</span>\n<a id=\"next\" rel=\"next\" href=\"" + page.next + "\">Next</a>\n</nav>\n";
    html += "<main>\n<img src=\"" + page.copy + "\" width=\"" + QByteArray::number(page.copyWidth) +
            "\" height=\"" + QByteArray::number(page.copyHeight) + "\" alt=\"" + name + "\">\n";
    html += "<p>" + name;
    if (!page.original.isEmpty())
        html += " &middot; <a href=\"" + page.original + "\">Original</a>";
    html += "</p>\n</main>\n";
    html += kScript;
    html += "</body>\n</html>\n";
    return html;
}

} // namespace vignetta
