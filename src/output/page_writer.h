#pragma once

#include <QByteArray>
#include <QString>

namespace vignetta {

struct WizardState;

// An image name as it stands inside the page's two link attributes: written as it is, except
// for the characters that would end the attribute or the tag (", <, >: character references)
// or send the link somewhere else (%, #, ?, ":", "\" and control characters: percent-encoded,
// so "c:x.jpg" is not read as a scheme, "a#1.jpg" not as a fragment, "a\b.jpg" not as a
// folder, and a line break in a name does not break the page's lines).
[[nodiscard]] QString linkAttribute(QStringView name);

// The number of thumbnails in each row for a Columns text: its whole part, at least one.
[[nodiscard]] qsizetype cellsPerRow(QStringView columns);

// The thumbnail page for the wizard's collected values, as the bytes of the file: the system's
// encoding, every line ending in CR LF.
[[nodiscard]] QByteArray renderPage(const WizardState& state);

// The page's path: the images' directory, one separator, the name without surrounding blanks.
[[nodiscard]] QString pagePath(const QString& directory, const QString& fileName);

} // namespace vignetta
