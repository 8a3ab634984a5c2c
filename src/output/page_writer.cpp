#include "page_writer.h"

#include "wizard/product.h"
#include "wizard/text_rules.h"
#include "wizard/wizard_state.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

constexpr char kEol[] = "\r\n";

// Appends text in the system's encoding.
class PageBuffer
{
public:
    explicit PageBuffer(qsizetype capacity) { m_bytes.reserve(capacity); }

    PageBuffer& operator<<(const char* ascii)
    {
        m_bytes.append(ascii);
        return *this;
    }
    PageBuffer& operator<<(const QByteArray& encoded)
    {
        m_bytes.append(encoded);
        return *this;
    }
    PageBuffer& operator<<(QStringView text)
    {
        m_bytes.append(encode(text));
        return *this;
    }
    QByteArray encode(QStringView text) { return m_encoder.encode(text); }
    QByteArray take() { return std::move(m_bytes); }

private:
    QByteArray m_bytes;
    QStringEncoder m_encoder{QStringConverter::System};
};

} // namespace

QString linkAttribute(QStringView name)
{
    QString out;
    out.reserve(name.size() + 8);
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'"':
            out += u"&quot;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'%':
            out += u"%25";
            break;
        case u'#':
            out += u"%23";
            break;
        case u'?':
            out += u"%3F";
            break;
        case u':':
            out += u"%3A";
            break;
        default:
            out += c;
        }
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
    const QByteArray cellEnd = "\" img border=0 width=" + page.encode(state.sWidth) +
                               " height=" + page.encode(state.sHeight) + "></A></td>" + kEol;
    const char* rowEnd = "   </TR>\r\n   </table>\r\n\r\n";

    const qsizetype perRow = cellsPerRow(state.sColumns);
    qsizetype position = 0;
    while (position < count) {
        page << rowStart;
        for (qsizetype column = 0; column < perRow && position < count; ++column, ++position) {
            const QByteArray name = page.encode(linkAttribute(state.sImageFiles.at(position)));
            page << "      <td align=center><A HREF=\"" << name << "\"><IMG SRC=\"" << name
                 << "\"align=\"bottom" << cellEnd;
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
