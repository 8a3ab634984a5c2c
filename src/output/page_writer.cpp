#include "output/page_writer.h"

#include "core/big_vector.h"
#include "core/file_names.h"
#include "core/product.h"
#include "core/text_rules.h"
#include "core/wizard_state.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr char kEol[] = "\r\n";

// The page's bytes, written at one position into a buffer sized up front: fixed pieces are
// copied, texts encoded straight into place in the system's encoding.
class PageBuffer
{
public:
    explicit PageBuffer(qsizetype capacity)
    {
        m_bytes.resize(capacity);
        // A page of many images is written into fresh memory: on huge pages it takes a page
        // fault for each 2 MiB instead of each 4 KiB, which were most of its time.
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
    // Repeats bytes already written, from `from` on.
    void appendCopy(qsizetype from, qsizetype length)
    {
        makeRoom(length);
        char* const start = m_bytes.data();
        std::memcpy(start + m_used, start + from, static_cast<std::size_t>(length));
        m_used += length;
    }
    [[nodiscard]] QByteArray encode(QStringView text) { return m_encoder.encode(text); }
    [[nodiscard]] QByteArray take()
    {
        m_bytes.truncate(m_used);
        return std::move(m_bytes);
    }

private:
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

    QByteArray m_bytes;
    qsizetype m_used = 0;
    // Stateless: each text is encoded on its own, so half a surrogate pair at the end of one
    // text cannot join the start of the next.
    QStringEncoder m_encoder{QStringConverter::System, QStringConverter::Flag::Stateless};
};

// Whether a character of a name stands in a link attribute as it is. The others would end the
// attribute or the tag (", <, >), send the link elsewhere (%, #, ?, ":", "\\") or break the
// page's lines or vanish from the link (control characters).
bool staysInLink(char16_t c)
{
    switch (c) {
    case u'"':
    case u'<':
    case u'>':
    case u'%':
    case u'#':
    case u'?':
    case u':':
    case u'\\':
    case 0x7f:
        return false;
    default:
        return c >= 0x20;
    }
}

bool needsCare(QByteArrayView name)
{
    const bool asciiStays = std::ranges::all_of(name, [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || staysInLink(u);
    });
    return !asciiStays || !isUtf8(name);
}

void appendPercent(QByteArray& out, unsigned char byte)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

} // namespace

QString linkAttribute(QStringView name)
{
    QString out;
    out.reserve(name.size() + 8);
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (staysInLink(u))
            out += c;
        else if (u == u'"')
            out += u"&quot;";
        else if (u == u'<')
            out += u"&lt;";
        else if (u == u'>')
            out += u"&gt;";
        else // percent-encoded: every such character is below 0x80
            out += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
    }
    return out;
}

QByteArray linkAttribute(QByteArrayView name)
{
    QByteArray out;
    out.reserve(name.size() + 8);
    qsizetype i = 0;
    while (i < name.size()) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x80) {
            const qsizetype n = utf8SequenceLength(name, i);
            if (n == 0) {
                appendPercent(out, byte); // not UTF-8: the byte as it is on disk
                ++i;
            } else {
                out += name.sliced(i, n);
                i += n;
            }
            continue;
        }
        if (staysInLink(byte))
            out += static_cast<char>(byte);
        else if (byte == '"')
            out += "&quot;";
        else if (byte == '<')
            out += "&lt;";
        else if (byte == '>')
            out += "&gt;";
        else
            appendPercent(out, byte);
        ++i;
    }
    return out;
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

QByteArray renderPage(const WizardState& state)
{
    const qsizetype count = state.imageCount();
    PageBuffer page(512 + count * (140 + 2 * 24));

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
    QByteArray escaped;
    qsizetype position = 0;
    while (position < count) {
        page << rowStart;
        for (qsizetype column = 0; column < perRow && position < count; ++column, ++position) {
            // The name as its bytes on disk, so the link reaches the file whatever their encoding.
            const QByteArrayView name = state.sImageFiles.bytesAt(position);
            page << "      <td align=center><A HREF=\"";
            // The name stands twice: written once, then repeated byte for byte.
            const qsizetype nameAt = page.size();
            if (needsCare(name)) {
                escaped = linkAttribute(name);
                page << escaped;
            } else {
                page << name;
            }
            const qsizetype nameLength = page.size() - nameAt;
            page << "\"><IMG SRC=\"";
            page.appendCopy(nameAt, nameLength);
            page << cellEnd;
        }
        page << rowEnd;
    }

    page << "   page created with<br>" << kEol;
    page << "   <a href=\"" << product::kHomePage << "\">Vignetta</a>" << kEol;
    page << "   </center>" << kEol << kEol;
    page << "   </body>" << kEol << kEol;
    page << "</html>" << kEol;
    return page.take();
}

QString pagePath(const QString& directory, const QString& fileName)
{
    // Joined without looking: at the root the separator stands twice, which reads as one.
    return directory + QDir::separator() + trimBlanks(fileName);
}

SaveResult savePage(const QString& directory, const QString& fileName, const QByteArray& page)
{
    const QString name = trimBlanks(fileName);
    if (name.contains(u'/') || name.contains(QDir::separator()))
        return {false, u"A page name may not hold \""_s + QDir::separator() +
                           u"\": the page is written beside its images."_s};

    QSaveFile file(pagePath(directory, fileName));
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (file.write(page) != page.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace vignetta
