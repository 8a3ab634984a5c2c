#pragma once

#include <QByteArray>
#include <QString>

namespace vignetta {

struct WizardState;

// An image name as it stands inside the page's two link attributes, given as the bytes of the
// name as it is on disk. Written as it is, except for what a browser would read otherwise:
// ", < and > would end the attribute or the tag, and an "&" starting what reads as a character
// reference ("&amp;", "&copy") would stand for another character: character references. %, #,
// ?, ":" and "\" would send the link elsewhere, control characters break the page's lines or
// vanish, blanks at either end are dropped by browsers, and bytes beyond ASCII would be read in
// whatever encoding the browser guesses for a page served without one: percent-encoded. So the
// link is plain ASCII and reaches the same file over file:// and http://.
[[nodiscard]] QByteArray linkAttribute(QByteArrayView name);
// The same for a name given as text, in the system's encoding.
[[nodiscard]] QByteArray linkAttribute(QStringView name);

// The number of thumbnails in each row for a Columns text: its whole part, at least one.
[[nodiscard]] qsizetype cellsPerRow(QStringView columns);

// The thumbnail page for the wizard's collected values, as the bytes of the file: the system's
// encoding, every line ending in CR LF.
[[nodiscard]] QByteArray renderPage(const WizardState& state);

// The page's path: the images' directory, one separator, the name without surrounding blanks.
[[nodiscard]] QString pagePath(const QString& directory, const QString& fileName);

} // namespace vignetta
