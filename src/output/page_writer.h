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
// The same for a name given as its bytes on disk: a name that is UTF-8 comes out as the bytes
// of linkAttribute(its text); a byte outside well-formed UTF-8 is percent-encoded, so that the
// link reaches the file whatever the encoding of its name ("caf\xE9.jpg" gives caf%E9.jpg).
[[nodiscard]] QByteArray linkAttribute(QByteArrayView name);

// The number of thumbnails in each row for a Columns text: its whole part, at least one.
[[nodiscard]] qsizetype cellsPerRow(QStringView columns);

// The thumbnail page for the wizard's collected values, as the bytes of the file: the system's
// encoding, every line ending in CR LF.
[[nodiscard]] QByteArray renderPage(const WizardState& state);

// The page's path: the images' directory, one separator, the name without surrounding blanks.
[[nodiscard]] QString pagePath(const QString& directory, const QString& fileName);

struct SaveResult
{
    bool ok = false;
    QString error; // the reason, when not ok
};

// Writes the page at `path`. The file there is replaced only once the new page is complete;
// where the directory takes no new file, an existing writable page is written in place.
// A name holding a separator is refused: the page belongs beside its images.
[[nodiscard]] SaveResult savePage(const QString& directory, const QString& fileName,
                                  const QByteArray& page);

} // namespace vignetta
