// Opens a written thumbnail page in a real browser (headless Chromium) and checks what the
// browser made of it: every picture shown at its own size, every link leading to its own
// file, the rows laid out as asked, read from the disk and from a web server that names no
// charset. Names carry the characters a browser is most likely to read differently from the
// file system: blanks (at either end too), "&" (before what reads as a character reference
// too), "#", "%", ":", "?", quotes, angle brackets, letters beyond ASCII and upper-case
// extensions.

#include "core/wizard_state.h"
#include "output/page_saver.h"
#include "output/page_writer.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

using namespace vignetta;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto kBrowser = "/usr/bin/chromium";
constexpr int kBrowserWaitMs = 60000;
constexpr auto kPageName = "Vignetta.html";
constexpr auto kCheckerName = "checker.html";

struct Picture
{
    QString name;
    QByteArray format; // "JPEG", "BMP" or "GIF"
    QSize size;        // distinct for every picture, so a link to the wrong file shows
    QColor colour;
};

QList<Picture> pictures()
{
    return {
        {u"Photo 1 & 2.JPG"_s, "JPEG", {40, 30}, Qt::red},
        {u"a#1.jpg"_s, "JPEG", {41, 31}, Qt::green},
        {u"100%.gif"_s, "GIF", {42, 32}, Qt::blue},
        {u"09:10:11.bmp"_s, "BMP", {43, 33}, Qt::yellow},
        {u"caf\u00e9.Jpg"_s, "JPEG", {44, 34}, Qt::cyan},
        {u"\u00c9t\u00e9 2023.BMP"_s, "BMP", {45, 35}, Qt::magenta},
        {u"Say \"hi\" <2>?.GIF"_s, "GIF", {46, 36}, Qt::darkGreen},
        {u"Tom &amp; Jerry.jpg"_s, "JPEG", {47, 37}, Qt::darkBlue},
        {u"&copy.jpg"_s, "JPEG", {48, 38}, Qt::darkRed},
        {u"  blanks at both ends .bmp "_s, "BMP", {49, 39}, Qt::gray},
        {u"\u5199\u771f.jpg"_s, "JPEG", {50, 40}, Qt::darkCyan},
    };
}

// Qt reads GIF but has no writer for it, so GIF pictures are put together here: one colour
// from a two-entry palette, and LZW data that sends a clear code before every second pixel.
// The code table then never grows past its first free entry and every code stays three bits
// wide; nothing is compressed, which at these sizes does not matter.
QByteArray solidGif(QSize size, const QColor& colour)
{
    QByteArray gif("GIF89a");
    const auto add16 = [&gif](int value) {
        gif.append(char(value & 0xff));
        gif.append(char((value >> 8) & 0xff));
    };
    add16(size.width());
    add16(size.height());
    gif.append(char(0x80)); // a global colour table of two entries
    gif.append(2, '\0');    // background index, aspect ratio
    gif.append(char(colour.red())).append(char(colour.green())).append(char(colour.blue()));
    gif.append(3, '\0'); // the second entry, black
    gif.append(',');     // image descriptor
    add16(0);
    add16(0);
    add16(size.width());
    add16(size.height());
    gif.append('\0'); // no local table, not interlaced
    gif.append('\2'); // LZW minimum code size: codes 0-3 colours, 4 clear, 5 end

    QByteArray data;
    quint32 pending = 0;
    int pendingBits = 0;
    const auto put = [&](quint32 code) {
        pending |= code << pendingBits;
        pendingBits += 3;
        while (pendingBits >= 8) {
            data.append(char(pending & 0xff));
            pending >>= 8;
            pendingBits -= 8;
        }
    };
    const int pixels = size.width() * size.height();
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(4);
        put(0);
    }
    put(5);
    if (pendingBits > 0)
        data.append(char(pending & 0xff));

    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    gif.append('\0'); // end of the image data
    gif.append(';');  // trailer
    return gif;
}

bool writePicture(const QString& path, const Picture& picture)
{
    if (picture.format == "GIF") {
        QFile file(path);
        const QByteArray gif = solidGif(picture.size, picture.colour);
        return file.open(QIODevice::WriteOnly) && file.write(gif) == gif.size();
    }
    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(picture.colour);
    return image.save(path, picture.format.constData());
}

// Loads the page in a frame once the page's own load is over (the frame's load event waits
// for its pictures) and reports what the browser resolved, as base64 of UTF-8 JSON, so
// that nothing in it is changed by the DOM dump's escaping. Plain ASCII, no charset: the
// frame gets no encoding from here and is read as the page would be on its own.
constexpr auto kCheckerPage = R"(<html><head><title>check</title></head><body>
<pre id="result">pending</pre>
<script>
function pictureReport(img) {
  return {src: img.src, width: img.naturalWidth, height: img.naturalHeight};
}
function cellReport(td) {
  return {
    links: Array.from(td.getElementsByTagName('a')).map(function (a) {
      return {href: a.href, pictures: Array.from(a.getElementsByTagName('img')).map(pictureReport)};
    }),
    pictures: td.getElementsByTagName('img').length
  };
}
function report(frame) {
  var out;
  try {
    var d = frame.contentDocument;
    out = {
      charset: d.characterSet,
      pictures: d.images.length,
      tables: Array.from(d.getElementsByTagName('table')).map(function (t) {
        return {rows: t.rows.length, cells: Array.from(t.getElementsByTagName('td')).map(cellReport)};
      })
    };
  } catch (e) {
    out = {error: String(e)};
  }
  var bytes = new TextEncoder().encode(JSON.stringify(out));
  var binary = '';
  for (var i = 0; i < bytes.length; ++i)
    binary += String.fromCharCode(bytes[i]);
  document.getElementById('result').textContent = btoa(binary);
}
var frame = document.createElement('iframe');
frame.onload = function () { report(frame); };
frame.src = 'PAGE';
document.body.appendChild(frame);
</script>
</body></html>
)";

struct BrowserRun
{
    QString failure; // empty when the browser ran to its end
    QByteArray dom;
};

BrowserRun dumpDom(const QUrl& checker, const QString& profileDir)
{
    if (!QFileInfo(QString::fromLatin1(kBrowser)).isExecutable())
        return {u"%1 not found: install Debian's chromium package (scripts/vignetta.sh does)"_s.arg(
                    QString::fromLatin1(kBrowser)),
                {}};

    QProcess browser;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, profileDir);
    environment.insert(u"XDG_CACHE_HOME"_s, profileDir);
    browser.setProcessEnvironment(environment);
    browser.start(QString::fromLatin1(kBrowser),
                  {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--disable-quic"_s,
                   u"--no-first-run"_s, u"--disable-background-networking"_s,
                   u"--disable-component-update"_s, u"--disable-sync"_s,
                   u"--user-data-dir="_s + profileDir, u"--allow-file-access-from-files"_s,
                   u"--virtual-time-budget=10000"_s, u"--dump-dom"_s,
                   checker.toString(QUrl::FullyEncoded)});
    if (!browser.waitForStarted(kBrowserWaitMs))
        return {u"the browser did not start: "_s + browser.errorString(), {}};
    if (!browser.waitForFinished(kBrowserWaitMs)) {
        browser.kill();
        browser.waitForFinished(5000);
        return {u"the browser did not finish within %1 s"_s.arg(kBrowserWaitMs / 1000), {}};
    }
    const QByteArray dom = browser.readAllStandardOutput();
    if (browser.exitStatus() != QProcess::NormalExit || browser.exitCode() != 0 || dom.isEmpty())
        return {u"the browser failed (exit code %1), its last words:\n%2"_s.arg(browser.exitCode())
                    .arg(QString::fromLocal8Bit(browser.readAllStandardError().right(2000))),
                {}};
    return {{}, dom};
}

// The checker's report out of the dumped DOM, or a string saying why there is none.
QJsonObject reportIn(const QByteArray& dom, QString* failure)
{
    const QByteArray start = "<pre id=\"result\">";
    const qsizetype from = dom.indexOf(start);
    const qsizetype to = dom.indexOf("</pre>", from);
    if (from < 0 || to < 0) {
        *failure = u"no result in the browser's DOM:\n"_s + QString::fromUtf8(dom.left(2000));
        return {};
    }
    const QByteArray text = dom.mid(from + start.size(), to - from - start.size()).trimmed();
    if (text == "pending") {
        *failure = u"the page in the frame never finished loading"_s;
        return {};
    }
    const QByteArray json = QByteArray::fromBase64(text);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        *failure =
            u"unreadable report (%1): %2"_s.arg(error.errorString(), QString::fromUtf8(json));
        return {};
    }
    if (document.object().contains(u"error"_s)) {
        *failure = u"the checker could not read the page: "_s +
                   document.object().value(u"error"_s).toString();
        return {};
    }
    return document.object();
}

// Checks that a URL the browser resolved leads to the named file in `directory`; empty when
// it does, otherwise what it led to instead.
// `base` is the URL of the folder the page was loaded from, ending in "/".
QString urlProblem(const QString& what, const QString& resolved, const QUrl& base,
                   const QString& directory, const QString& name)
{
    const QUrl url(resolved, QUrl::StrictMode);
    const QUrl folder = url.adjusted(QUrl::RemoveFilename);
    const QString file = url.fileName(QUrl::FullyDecoded);
    if (!url.isValid() || url.hasQuery() || url.hasFragment() || folder != base || file != name)
        return u"%1 for \"%2\" resolved to %3 (the file \"%4\" in %5), not the file in %6"_s.arg(
            what, name, resolved, file, folder.toString(), base.toString());
    if (!QFileInfo(directory + u'/' + file).isFile())
        return u"%1 for \"%2\" leads to %3, which is no file"_s.arg(what, name, resolved);
    return {};
}

// A web server for the folder, on a free port of the loopback, that sends the page without
// naming a charset (Python's own): the browser has to guess the page's encoding.
class WebServer
{
public:
    explicit WebServer(const QString& directory)
    {
        m_server.setWorkingDirectory(directory);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(u"python3"_s,
                       {u"-u"_s, u"-m"_s, u"http.server"_s, u"--bind"_s, u"127.0.0.1"_s, u"0"_s});
        if (!m_server.waitForStarted(10000))
            return;
        // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
        QByteArray said;
        while (m_server.waitForReadyRead(10000)) {
            said += m_server.readAll();
            const qsizetype at = said.indexOf(" port ");
            const qsizetype end = at < 0 ? -1 : said.indexOf(' ', at + 6);
            if (end > at) {
                m_port = said.mid(at + 6, end - at - 6).toInt();
                return;
            }
        }
    }
    ~WebServer()
    {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    [[nodiscard]] int port() const { return m_port; }

private:
    QProcess m_server;
    int m_port = 0;
};

} // namespace

class TestPageBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browserShowsEveryPictureAndLink_data();
    void browserShowsEveryPictureAndLink();
};

void TestPageBrowser::browserShowsEveryPictureAndLink_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QList<int>>("cellsPerTable");
    QTest::addColumn<bool>("overHttp");

    QTest::newRow("three columns, from the disk") << "3" << QList<int>{3, 3, 3, 2} << false;
    QTest::newRow("2.5 columns with a unit, from the disk")
        << " 2.5 cols" << QList<int>{2, 2, 2, 2, 2, 1} << false;
    QTest::newRow("three columns, from a server naming no charset")
        << "3" << QList<int>{3, 3, 3, 2} << true;
}

void TestPageBrowser::browserShowsEveryPictureAndLink()
{
    QFETCH(QString, columns);
    QFETCH(QList<int>, cellsPerTable);
    QFETCH(bool, overHttp);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    // The pictures' directory has a blank and an accent of its own.
    const QString directory = QDir::cleanPath(temporary.path()) + u"/My Pictures \u00e9"_s;
    const QString profile = QDir::cleanPath(temporary.path()) + u"/profile"_s;
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(QDir().mkpath(profile));

    const QList<Picture> all = pictures();
    WizardState state;
    state.sImagePath = directory + u'/';
    for (const Picture& picture : all) {
        const QString path = directory + u'/' + picture.name;
        QVERIFY2(writePicture(path, picture), qPrintable(picture.name));
        // The picture on disk is what the browser's size will be compared with.
        QImageReader reader(path);
        QCOMPARE(reader.format(), picture.format.toLower());
        QCOMPARE(reader.size(), picture.size);
        state.sImageFiles.append(picture.name);
    }
    state.sImageFiles.append(QString());
    QCOMPARE(state.imageCount(), all.size());
    state.sWidth = u"150"_s;
    state.sHeight = u"150"_s;
    state.sColumns = columns;
    state.bBorder = true;
    state.sThickness = u"2"_s;
    state.sForeColor = u"#000000"_s;
    state.sBackColor = u"#FFFFFF"_s;
    state.sFileName = QString::fromLatin1(kPageName);

    const SaveResult saved = savePage(directory, state.sFileName, renderPage(state));
    QVERIFY2(saved.ok, qPrintable(saved.error));
    const QString checkerPath = directory + u'/' + QString::fromLatin1(kCheckerName);
    QFile checker(checkerPath);
    QVERIFY(checker.open(QIODevice::WriteOnly));
    checker.write(QByteArray(kCheckerPage).replace("PAGE", kPageName));
    checker.close();

    QUrl base = QUrl::fromLocalFile(directory + u'/');
    std::optional<WebServer> server;
    if (overHttp) {
        server.emplace(directory);
        QVERIFY2(server->port() > 0, "the web server (python3 -m http.server) did not start");
        base = QUrl(u"http://127.0.0.1:%1/"_s.arg(server->port()));
    }
    const BrowserRun run = dumpDom(base.resolved(QUrl(QString::fromLatin1(kCheckerName))), profile);
    if (!run.failure.isEmpty())
        QFAIL(qPrintable(run.failure));
    QString failure;
    const QJsonObject report = reportIn(run.dom, &failure);
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure));
    const QString charset = report.value(u"charset"_s).toString();

    // The layout: one row per table, the cells as the Columns value divides them.
    const QJsonArray tables = report.value(u"tables"_s).toArray();
    QList<int> cellsFound;
    QJsonArray cells;
    for (const auto& table : tables) {
        QCOMPARE(table[u"rows"_s].toInt(), 1);
        const QJsonArray tableCells = table[u"cells"_s].toArray();
        cellsFound.append(int(tableCells.size()));
        for (const auto& cell : tableCells)
            cells.append(cell);
    }
    QCOMPARE(cellsFound, cellsPerTable);
    QCOMPARE(report.value(u"pictures"_s).toInt(), all.size());

    // Every cell: one link, holding the one picture, both leading to that cell's own file.
    // Every problem is collected, so one run names every name the browser got wrong.
    QStringList problems;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Picture& picture = all[i];
        const QJsonObject cell = cells.at(i).toObject();
        const QJsonArray links = cell[u"links"_s].toArray();
        if (links.size() != 1 || cell[u"pictures"_s].toInt() != 1) {
            problems << u"cell %1 (\"%2\") holds %3 links and %4 pictures"_s.arg(i + 1)
                            .arg(picture.name)
                            .arg(links.size())
                            .arg(cell[u"pictures"_s].toInt());
            continue;
        }
        const QJsonObject link = links[0].toObject();
        const QJsonArray inLink = link[u"pictures"_s].toArray();
        if (inLink.size() != 1) {
            problems
                << u"the link for \"%1\" holds %2 pictures"_s.arg(picture.name).arg(inLink.size());
            continue;
        }
        const QJsonObject shown = inLink[0].toObject();
        problems << urlProblem(u"the link"_s, link[u"href"_s].toString(), base, directory,
                               picture.name)
                 << urlProblem(u"the picture"_s, shown[u"src"_s].toString(), base, directory,
                               picture.name);
        const QSize size(shown[u"width"_s].toInt(), shown[u"height"_s].toInt());
        if (size != picture.size)
            problems << u"\"%1\" shown at its natural size %2x%3, not %4x%5 (%6)"_s
                            .arg(picture.name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(picture.size.width())
                            .arg(picture.size.height())
                            .arg(size.isEmpty() ? u"not loaded"_s : u"another file"_s);
    }
    problems.removeAll(QString());
    if (!problems.isEmpty())
        problems.prepend(u"the browser read the page as "_s + charset);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestPageBrowser)
#include "tst_page_browser.moc"
