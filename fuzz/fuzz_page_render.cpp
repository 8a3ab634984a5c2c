// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzzes the thumbnail page writer (renderPage, with linkAttribute and cellsPerRow) with any
// field texts and image names.
//
// Input: one flags byte, then texts separated by U+001F: width, height, columns, thickness,
// text colour, background colour, file name, and the image names. Flags: bit 0, the texts are
// raw UTF-16 (else UTF-8); bit 3, the border is on. The boxes hold one line, so CR and LF are
// dropped from the fields; names may hold anything.
//
// One input in 256, picked by a hash of all its bytes, is blown up, in one of four ways picked
// by the hash too: 0, the names repeated up to 100,000 of them; 1, the first name repeated to
// 200,000 characters; 2, width, height and thickness 100,000 characters long, for at most 8
// names; 3, as 0 with all names in one row. Such a run takes a good part of a second; picked by
// the hash, they stay rare however much of the corpus descends from one. The page does not use
// the file name, so a seed is made to blow up by varying its file name until the hash fits.
//
// Checked: the page is read back in full, piece by piece: the fixed head, one table per row
// of cellsPerRow(columns) names (the last one possibly shorter, none empty), one cell per
// name in order, the fixed foot, nothing else. In each cell HREF and SRC are the same and
// hold no '"', '<' or '>'; they are the name as linkAttribute writes it; and read the way a
// browser reads a link (character references, then the URL rules, then percent-decoding)
// they lead to the file of that name. Every line ends in CR LF.
//
// Every name that a folder can hold is checked that way, "&" starting what reads as a character
// reference ("&amp;.jpg") and blanks at either end (which browsers trim) included.

#include "fuzz_support.h"

#include "core/product.h"
#include "core/text_rules.h"
#include "core/wizard_state.h"
#include "output/page_writer.h"

#include <QHash>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

enum Field : qsizetype
{
    kWidth,
    kHeight,
    kColumns,
    kThickness,
    kForeColor,
    kBackColor,
    kFileName,
    kFirstName,
};

// The bytes of one text on its own, in the page's encoding.
QByteArray encoded(QStringView text)
{
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

bool isAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Character references as an HTML parser reads them inside an attribute value: numeric ones,
// and a few named ones, all known to browsers both with and without the ";" (without it, only
// when no letter, digit or "=" follows). Enough to tell when a name is misread; a browser knows
// many more names.
QByteArray decodeReferences(const QByteArray& value)
{
    static const std::pair<const char*, const char*> kNamed[] = {
        {"quot", "\""},     {"amp", "&"},      {"lt", "<"},        {"gt", ">"},
        {"copy", "\u00A9"}, {"reg", "\u00AE"}, {"nbsp", "\u00A0"}, {"QUOT", "\""},
        {"AMP", "&"},       {"LT", "<"},       {"GT", ">"}};
    QByteArray out;
    qsizetype i = 0;
    while (i < value.size()) {
        const char c = value[i];
        if (c == '\0') { // the parser's replacement of NUL
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < value.size() && value[i + 1] == '#') {
            qsizetype j = i + 2;
            const bool hex = j < value.size() && (value[j] == 'x' || value[j] == 'X');
            if (hex)
                ++j;
            const qsizetype digitsAt = j;
            char32_t code = 0;
            while (j < value.size() &&
                   (hex ? hexValue(value[j]) >= 0 : value[j] >= '0' && value[j] <= '9')) {
                code = std::min<char32_t>(0x110000, code * (hex ? 16 : 10) +
                                                        static_cast<char32_t>(hexValue(value[j])));
                ++j;
            }
            if (j > digitsAt) {
                if (j < value.size() && value[j] == ';')
                    ++j;
                if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
                    code = 0xFFFD;
                out += QString::fromUcs4(&code, 1).toUtf8();
                i = j;
                continue;
            }
        }
        bool matched = false;
        for (const auto& [name, text] : kNamed) {
            const auto length = static_cast<qsizetype>(std::strlen(name));
            if (QByteArrayView(value).sliced(i + 1).startsWith(name)) {
                const qsizetype after = i + 1 + length;
                if (after < value.size() && value[after] == ';') {
                    out += text;
                    i = after + 1;
                    matched = true;
                } else if (after >= value.size() ||
                           (!isAsciiAlnum(value[after]) && value[after] != '=')) {
                    out += text;
                    i = after;
                    matched = true;
                }
                break;
            }
        }
        if (!matched) {
            out += '&';
            ++i;
        }
    }
    // Line breaks are normalised before the tokenizer sees them: CR LF and CR become LF.
    out.replace("\r\n", "\n");
    out.replace('\r', '\n');
    return out;
}

// The bytes of the file name a link leads to, relative to the page's own folder, or nothing
// when it leads elsewhere (another folder, or a query or fragment cutting the name short).
std::optional<QByteArray> linkTarget(const QByteArray& attribute)
{
    QByteArray url = decodeReferences(attribute);
    // The URL rules: C0 controls and spaces at either end go, tabs and line breaks anywhere.
    qsizetype begin = 0;
    qsizetype end = url.size();
    while (begin < end && static_cast<unsigned char>(url[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(url[end - 1]) <= 0x20)
        --end;
    url = url.sliced(begin, end - begin);
    url.replace('\t', QByteArray()).replace('\n', QByteArray()).replace('\r', QByteArray());
    for (const char c : url) {
        if (c == '/' || c == '\\' || c == '?' || c == '#')
            return std::nullopt;
    }
    if (url.isEmpty() || url == "." || url == ".." || url.contains(':'))
        return std::nullopt;
    QByteArray name;
    for (qsizetype i = 0; i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
            hexValue(url[i + 2]) >= 0) {
            name += static_cast<char>(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2]));
            i += 2;
        } else {
            name += url[i];
        }
    }
    return name;
}

// Names no directory can hold: they are never on a page.
bool impossibleName(const QString& name)
{
    return name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
           name.contains(QChar(0));
}

// Reads the page from the front and stops at the first thing that is not where it belongs.
class PageReader
{
public:
    explicit PageReader(const QByteArray& page) : m_page(page) {}

    void expect(const QByteArray& piece, const char* what)
    {
        FUZZ_CHECK(next(piece), QByteArray(what) + " at byte " + QByteArray::number(m_at) + ": \"" +
                                    fuzz::visible(m_page.sliced(
                                        m_at, std::min<qsizetype>(80, m_page.size() - m_at))) +
                                    "\" instead of \"" + fuzz::visible(piece) + "\"");
        m_at += piece.size();
    }
    bool next(QByteArrayView piece) const
    {
        return QByteArrayView(m_page).sliced(m_at).startsWith(piece);
    }
    // The attribute value up to its closing quote, which is left unread.
    QByteArray attribute()
    {
        const qsizetype end = m_page.indexOf('"', m_at);
        FUZZ_CHECK(end >= 0, "attribute not closed at byte " + QByteArray::number(m_at));
        QByteArray value = m_page.sliced(m_at, end - m_at);
        m_at = end;
        return value;
    }
    bool atEnd() const { return m_at == m_page.size(); }

private:
    const QByteArray& m_page;
    qsizetype m_at = 0;
};

void checkLineEnds(const QByteArray& page)
{
    // Line by line rather than byte by byte: the page may be megabytes long.
    for (qsizetype at = page.indexOf('\n'); at >= 0; at = page.indexOf('\n', at + 1))
        FUZZ_CHECK(at > 0 && page[at - 1] == '\r',
                   "LF without CR at byte " + QByteArray::number(at));
    for (qsizetype at = page.indexOf('\r'); at >= 0; at = page.indexOf('\r', at + 1))
        FUZZ_CHECK(at + 1 < page.size() && page[at + 1] == '\n',
                   "CR without LF at byte " + QByteArray::number(at));
}

void checkCell(const QString& name, const QByteArray& href, QHash<QString, QByteArray>& checked)
{
    const auto known = checked.constFind(name);
    if (known != checked.cend()) {
        FUZZ_CHECK(href == *known, "cell for \"" + fuzz::visible(name) + "\"");
        return;
    }
    const QByteArray describe =
        "name \"" + fuzz::visible(name) + "\" HREF \"" + fuzz::visible(href) + "\"";
    FUZZ_CHECK(!href.contains('"') && !href.contains('<') && !href.contains('>'), describe);
    FUZZ_CHECK(std::ranges::all_of(href, [](char c) { return c >= 0x20 && c < 0x7f; }) &&
                   (href.isEmpty() || (href.front() != ' ' && href.back() != ' ')),
               describe + ": not plain ASCII without blanks at either end");
    FUZZ_CHECK(href == vignetta::linkAttribute(name), describe);
    if (!impossibleName(name)) {
        const std::optional<QByteArray> target = linkTarget(href);
        FUZZ_CHECK(target && *target == encoded(name),
                   describe + " leads to \"" + fuzz::visible(target.value_or("(elsewhere)")) +
                       "\"");
    }
    checked.insert(name, href);
}

void checkPage(const vignetta::WizardState& state, const QByteArray& page)
{
    const qsizetype count = state.imageCount();
    const qsizetype perRow = vignetta::cellsPerRow(state.sColumns);
    const double columns = vignetta::numericValue(state.sColumns);
    FUZZ_CHECK(perRow >= 1, "columns \"" + fuzz::visible(state.sColumns) + "\"");
    if (columns < 1e15)
        FUZZ_CHECK(perRow == std::max<qsizetype>(1, static_cast<qsizetype>(std::floor(columns))),
                   "columns \"" + fuzz::visible(state.sColumns) + "\" -> " +
                       QByteArray::number(perRow));
    else
        FUZZ_CHECK(perRow >= (qsizetype(1) << 50),
                   "columns \"" + fuzz::visible(state.sColumns) + "\"");

    FUZZ_CHECK(page.startsWith("<html>\r\n"),
               fuzz::visible(page.first(std::min<qsizetype>(page.size(), 40))));
    FUZZ_CHECK(page.endsWith("</html>\r\n"),
               fuzz::visible(page.last(std::min<qsizetype>(page.size(), 40))));

    PageReader reader(page);
    reader.expect("<html>\r\n\r\n   <head>\r\n      <title>Vignetta ThumbNail Page</title>\r\n"
                  "   </head>\r\n\r\n   <body bgcolor=\"" +
                      encoded(state.sBackColor) + "\" text=\"" + encoded(state.sForeColor) +
                      "\" > \r\n\r\n   <center>\r\n\r\n",
                  "head");
    const QByteArray tableStart = "   <table border=\"" + encoded(state.sThickness) +
                                  "\" cellpadding=3 cellspacing =3>\r\n   <TR>\r\n";
    const QByteArray cellEnd = R"("align="bottom" img border=0 width=)" + encoded(state.sWidth) +
                               " height=" + encoded(state.sHeight) + "></A></td>\r\n";

    QHash<QString, QByteArray> checked;
    qsizetype cell = 0;
    qsizetype tables = 0;
    while (reader.next("   <table border=")) {
        reader.expect(tableStart, "table start");
        ++tables;
        qsizetype inTable = 0;
        while (reader.next("      <td")) {
            reader.expect("      <td align=center><A HREF=\"", "cell start");
            const QByteArray href = reader.attribute();
            reader.expect("\"><IMG SRC=\"", "between the links");
            const QByteArray src = reader.attribute();
            FUZZ_CHECK(src == href,
                       "SRC \"" + fuzz::visible(src) + "\" HREF \"" + fuzz::visible(href) + "\"");
            reader.expect(cellEnd, "cell end");
            FUZZ_CHECK(cell < count, "more cells than names: " + QByteArray::number(count));
            checkCell(state.sImageFiles.at(cell), href, checked);
            ++cell;
            ++inTable;
        }
        FUZZ_CHECK(inTable > 0, "empty table " + QByteArray::number(tables));
        FUZZ_CHECK(inTable == std::min(perRow, count - (cell - inTable)),
                   "table " + QByteArray::number(tables) + " holds " + QByteArray::number(inTable));
        reader.expect("   </TR>\r\n   </table>\r\n\r\n", "table end");
    }
    FUZZ_CHECK(cell == count,
               QByteArray::number(cell) + " cells for " + QByteArray::number(count) + " names");
    FUZZ_CHECK(tables == (count + perRow - 1) / perRow, QByteArray::number(tables) + " tables");
    reader.expect(QByteArray("   page created with<br>\r\n   <a href=\"") +
                      vignetta::product::kHomePage +
                      "\">Vignetta</a>\r\n   </center>\r\n\r\n   </body>\r\n\r\n</html>\r\n",
                  "foot");
    FUZZ_CHECK(reader.atEnd(), "bytes after the foot");

    checkLineEnds(page);
}

constexpr std::uint32_t kBlowUp = 0xB5;

// FNV-1a.
std::uint32_t inputHash(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

QString repeatedTo(const QString& text, qsizetype length)
{
    if (text.isEmpty())
        return {length, u'9'};
    return text.repeated(length / text.size() + 1).first(length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    const QString text =
        flags & 1 ? fuzz::fromUtf16(data + 1, size - 1) : fuzz::fromUtf8(data + 1, size - 1);
    QStringList items = text.split(QChar(0x1F));
    while (items.size() < kFirstName)
        items.append(QString());
    for (qsizetype field = 0; field < kFirstName; ++field)
        items[field].remove(u'\r').remove(u'\n');

    QStringList names = items.sliced(kFirstName);
    const std::uint32_t hash = inputHash(data, size);
    if ((hash & 0xFF) == kBlowUp) {
        switch (hash >> 8 & 3) {
        case 0:
        case 3:
            if (names.isEmpty())
                names.append(u"a.jpg"_s);
            while (names.size() < 100'000)
                names += names.first(std::min<qsizetype>(names.size(), 100'000 - names.size()));
            if ((hash >> 8 & 3) == 3)
                items[kColumns] = QString(20, u'9'); // all in one row
            break;
        case 1:
            if (names.isEmpty())
                names.append(u"a.jpg"_s);
            names[0] = repeatedTo(names[0], 200'000);
            break;
        case 2:
            // Every cell repeats width and height, every row the thickness: few names.
            names = names.first(std::min<qsizetype>(names.size(), 8));
            items[kWidth] = repeatedTo(items[kWidth], 100'000);
            items[kHeight] = repeatedTo(items[kHeight], 100'000);
            items[kThickness] = repeatedTo(items[kThickness], 100'000);
            break;
        }
    }

    vignetta::WizardState state;
    state.sImageFiles = names;
    state.sImageFiles.append(QString());
    state.sWidth = items[kWidth];
    state.sHeight = items[kHeight];
    state.sColumns = items[kColumns];
    state.bBorder = (flags & 8) != 0;
    state.sThickness = items[kThickness];
    state.sForeColor = items[kForeColor];
    state.sBackColor = items[kBackColor];
    state.sFileName = items[kFileName];

    checkPage(state, vignetta::renderPage(state));
    return 0;
}
