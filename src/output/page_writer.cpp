// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/page_writer.h"

#include "core/big_vector.h"
#include "core/file_names.h"
#include "core/product.h"
#include "core/text_rules.h"
#include "core/wizard_state.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr char kEol[] = "\r\n";

// The page's bytes, written at one position into a buffer: fixed pieces are copied, texts
// encoded straight into place in the system's encoding. Without a sink the buffer, sized up
// front, grows to hold the whole page; with one, each full piece goes to the sink and the
// buffer is used again, so a page of any size is made in a few MiB that stay in the cache.
class PageBuffer
{
public:
    explicit PageBuffer(qsizetype capacity, const PageSink* sink = nullptr) : m_sink(sink)
    {
        if (m_sink != nullptr)
            capacity = std::min(capacity, kPageBytesPerPiece + kPageBytesPerPiece / 4);
        m_bytes.resize(capacity);
        // A page of many images is written into fresh memory: on huge pages it takes a page
        // fault for each 2 MiB instead of each 4 KiB, which were most of its time.
        if (m_sink == nullptr)
            big_memory::adviseHuge(m_bytes.data(), static_cast<std::size_t>(capacity));
    }

    template <std::size_t N>
    PageBuffer& operator<<(const char (&ascii)[N])
    {
        append(ascii, N - 1);
        return *this;
    }
    PageBuffer& operator<<(QByteArrayView encoded)
    {
        append(encoded.constData(), encoded.size());
        return *this;
    }
    PageBuffer& operator<<(QStringView text)
    {
        makeRoom(m_encoder.requiredSpace(text.size()));
        char* const start = m_bytes.data();
        m_used = m_encoder.appendToBuffer(start + m_used, text) - start;
        return *this;
    }

    [[nodiscard]] qsizetype size() const { return m_used; }
    // Repeats bytes already written since the last piece was handed on, from `from` on.
    void appendCopy(qsizetype from, qsizetype length)
    {
        makeRoom(length);
        char* const start = m_bytes.data();
        std::memcpy(start + m_used, start + from, static_cast<std::size_t>(length));
        m_used += length;
    }
    [[nodiscard]] QByteArray encode(QStringView text) { return m_encoder.encode(text); }

    // Between two parts of the page: hands a full piece to the sink. False once the sink has
    // refused one, and the page is to be given up.
    bool pieceDone()
    {
        if (m_sink != nullptr && m_used >= kPageBytesPerPiece)
            handOn();
        return !m_stopped;
    }
    // The end of the page: what is left goes to the sink. False when the sink refused a piece.
    bool finish()
    {
        if (m_sink != nullptr && m_used > 0)
            handOn();
        return !m_stopped;
    }
    [[nodiscard]] QByteArray take()
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
    void handOn()
    {
        if (!m_stopped && !(*m_sink)(QByteArrayView(m_bytes.constData(), m_used)))
            m_stopped = true;
        m_used = 0;
    }
    void append(const char* data, qsizetype length)
    {
        makeRoom(length);
        std::memcpy(m_bytes.data() + m_used, data, static_cast<std::size_t>(length));
        m_used += length;
    }
    void makeRoom(qsizetype length)
    {
        if (m_used + length > m_bytes.size())
            m_bytes.resize(std::max(2 * m_bytes.size(), m_used + length));
    }

    const PageSink* m_sink;
    bool m_stopped = false;
    QByteArray m_bytes;
    qsizetype m_used = 0;
    // Stateless: each text is encoded on its own, so half a surrogate pair at the end of one
    // text cannot join the start of the next.
    QStringEncoder m_encoder{QStringConverter::System, QStringConverter::Flag::Stateless};
};

bool isAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether a byte of a name stands in a link attribute as it is, wherever it stands. The others
// would end the attribute or the tag (", <, >), send the link elsewhere (%, #, ?, ":", "\"),
// break the page's lines or vanish from the link (control characters), or be read in the
// page's encoding, which a server may not tell the browser (bytes beyond ASCII).
bool staysInLink(char c)
{
    switch (c) {
    case '"':
    case '<':
    case '>':
    case '%':
    case '#':
    case '?':
    case ':':
    case '\\':
    case 0x7f:
        return false;
    default:
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x80;
    }
}

// An "&" that a browser would read as the start of a character reference ("&amp;", "&copy",
// "&#38;"); any other "&" is read as itself.
bool startsReference(QByteArrayView name, qsizetype at)
{
    return name[at] == '&' && at + 1 < name.size() &&
           (name[at + 1] == '#' || isAsciiAlnum(name[at + 1]));
}

// Whether the name is written other than as it is.
bool needsCare(QByteArrayView name)
{
    if (!name.empty() && (name.front() == ' ' || name.back() == ' '))
        return true; // browsers drop blanks at either end of a link
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!staysInLink(name[i]) || startsReference(name, i))
            return true;
    }
    return false;
}

void appendPercentEncoded(QByteArray& out, char c)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

} // namespace

QByteArray linkAttribute(QByteArrayView name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin] == ' ')
        ++begin;
    while (end > begin && name[end - 1] == ' ')
        --end;

    QByteArray out;
    out.reserve(name.size() + 8);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool blankAtAnEnd = c == ' ' && (i < begin || i >= end);
        if (startsReference(name, i))
            out += "&amp;";
        else if (staysInLink(c) && !blankAtAnEnd)
            out += c;
        else if (c == '"')
            out += "&quot;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            appendPercentEncoded(out, c);
    }
    return out;
}

QByteArray linkAttribute(QStringView name)
{
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(name);
    return linkAttribute(QByteArrayView(bytes));
}

qsizetype cellsPerRow(QStringView columns)
{
    // A value below one would give rows without cells, and so a page without end.
    const double limit = numericValue(columns);
    if (!(limit >= 1.0))
        return 1;
    if (limit >= 1e15)
        return qsizetype(1) << 50; // "every image in one row"
    return static_cast<qsizetype>(std::floor(limit));
}

namespace {

// About the page's length, so that its buffer seldom grows.
qsizetype expectedSize(const WizardState& state)
{
    return 512 + state.imageCount() * (140 + 2 * 24);
}

// Writes the page into `page`: false when its sink gave it up.
bool render(const WizardState& state, PageBuffer& page)
{
    const qsizetype count = state.imageCount();

    page << "<html>" << kEol << kEol;
    page << "   <head>" << kEol;
    page << "      <title>Vignetta ThumbNail Page</title>" << kEol;
    page << "   </head>" << kEol << kEol;
    page << "   <body bgcolor=\"" << state.sBackColor << "\" text=\"" << state.sForeColor << "\" > "
         << kEol << kEol;
    page << "   <center>" << kEol << kEol;

    const QByteArray rowStart = "   <table border=\"" + page.encode(state.sThickness) +
                                "\" cellpadding=3 cellspacing =3>" + kEol + "   <TR>" + kEol;
    const QByteArray cellEnd = R"("align="bottom" img border=0 width=)" +
                               page.encode(state.sWidth) + " height=" + page.encode(state.sHeight) +
                               "></A></td>" + kEol;
    constexpr char rowEnd[] = "   </TR>\r\n   </table>\r\n\r\n";

    const qsizetype perRow = cellsPerRow(state.sColumns);
    qsizetype position = 0;
    while (position < count) {
        page << rowStart;
        for (qsizetype column = 0; column < perRow && position < count; ++column, ++position) {
            // The name as its bytes on disk, so the link reaches the file whatever their encoding.
            const QByteArrayView name = state.sImageFiles.bytesAt(position);
            page << "      <td align=center><A HREF=\"";
            // The name stands twice: written once, then repeated byte for byte. Most names
            // stand as they are; the others are written again, with care.
            const qsizetype nameAt = page.size();
            if (needsCare(name))
                page << linkAttribute(name);
            else
                page << name;
            const qsizetype nameLength = page.size() - nameAt;
            page << "\"><IMG SRC=\"";
            page.appendCopy(nameAt, nameLength);
            page << cellEnd;
            if (!page.pieceDone())
                return false;
        }
        page << rowEnd;
    }

    page << "   page created with<br>" << kEol;
    page << "   <a href=\"" << product::kHomePage << "\">Vignetta</a>" << kEol;
    page << "   </center>" << kEol << kEol;
    page << "   </body>" << kEol << kEol;
    page << "</html>" << kEol;
    return page.finish();
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QByteArray renderPage(const WizardState& state)
{
    PageBuffer page(expectedSize(state));
    render(state, page);
    return page.take();
}

bool renderPage(const WizardState& state, const PageSink& sink)
{
    PageBuffer page(expectedSize(state), &sink);
    return render(state, page);
}

QByteArray cssColour(const QString& text, const char* fallback)
{
    static const QRegularExpression shape(u"\\A#[0-9A-Fa-f]{6}\\z"_s);
    return shape.match(text).hasMatch() ? text.toLatin1() : QByteArray(fallback);
}

QByteArray languageTag(const QString& tag, const char* fallback)
{
    static const QRegularExpression shape(u"\\A[A-Za-z]{2,8}(-[A-Za-z0-9]{1,8})*\\z"_s);
    return shape.match(tag).hasMatch() ? tag.toLatin1() : QByteArray(fallback);
}

QString textAttribute(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'&')
            out += u"&amp;";
        else if (u == u'"')
            out += u"&quot;";
        else if (u == u'<')
            out += u"&lt;";
        else if (u == u'>')
            out += u"&gt;";
        else if (u < 0x20 || u == 0x7f)
            out += u"&#" + QString::number(u) + u';';
        else
            out += c;
    }
    return out;
}

std::optional<int> pixelLength(QStringView text)
{
    const QString trimmed = trimBlanks(text);
    const QStringView rest(trimmed);
    qsizetype digits = 0;
    while (digits < rest.size() && isAsciiDigit(rest[digits]))
        ++digits;
    if (digits == 0)
        return std::nullopt;
    qsizetype end = digits;
    if (end < rest.size() && rest[end] == u'.') {
        ++end;
        while (end < rest.size() && isAsciiDigit(rest[end]))
            ++end;
    }
    const double value = rest.first(end).toDouble();
    const QString unit = trimBlanks(rest.sliced(end));
    if (!unit.isEmpty() && unit.compare(u"px", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const double rounded = std::floor(value + 0.5);
    if (!(rounded >= 1.0))
        return std::nullopt;
    return static_cast<int>(std::min(rounded, double(kLargestPixelLength)));
}

QString thumbnailFolderName(const QString& pageFileName)
{
    const QString name = trimBlanks(pageFileName);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot > 0 ? name.first(dot) : name) + u"_files";
}

QString pagePath(const QString& directory, const QString& fileName)
{
    // Joined without looking: at the root the separator stands twice, which reads as one.
    return directory + QDir::separator() + trimBlanks(fileName);
}

} // namespace vignetta
