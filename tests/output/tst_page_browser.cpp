// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opens a written thumbnail page in a real browser (headless Chromium) and checks what the
// browser made of it: every picture shown at its own size, every link leading to its own
// file, the rows laid out as asked, read from the disk and from a web server that names no
// charset. Names carry the characters a browser is most likely to read differently from the
// file system: blanks (at either end too), "&" (before what reads as a character reference
// too), "#", "%", ":", "?", quotes, angle brackets, letters beyond ASCII and upper-case
// extensions.

#include "core/file_names.h"
#include "support/page_state.h"
#include "support/test_pictures.h"

#include "core/wizard_state.h"
#include "output/index_page.h"
#include "output/page_saver.h"
#include "output/page_writer.h"
#include "selection/name_collation.h"
#include "thumbnails/publish_job.h"

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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <arpa/inet.h>
#include <atomic>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

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
    QByteArray bytes; // the name on disk, where it is not the name's UTF-8

    [[nodiscard]] QByteArray onDisk() const { return bytes.isEmpty() ? name.toUtf8() : bytes; }
};

QList<Picture> pictures()
{
    return {
        {u"Photo 1 & 2.JPG"_s, "JPEG", {40, 30}, Qt::red, {}},
        {u"a#1.jpg"_s, "JPEG", {41, 31}, Qt::green, {}},
        {u"100%.gif"_s, "GIF", {42, 32}, Qt::blue, {}},
        {u"09:10:11.bmp"_s, "BMP", {43, 33}, Qt::yellow, {}},
        {u"caf\u00e9.Jpg"_s, "JPEG", {44, 34}, Qt::cyan, {}},
        {u"\u00c9t\u00e9 2023.BMP"_s, "BMP", {45, 35}, Qt::magenta, {}},
        {u"Say \"hi\" <2>?.GIF"_s, "GIF", {46, 36}, Qt::darkGreen, {}},
        {u"Tom &amp; Jerry.jpg"_s, "JPEG", {47, 37}, Qt::darkBlue, {}},
        {u"&copy.jpg"_s, "JPEG", {48, 38}, Qt::darkRed, {}},
        {u"  blanks at both ends .bmp "_s, "BMP", {49, 39}, Qt::gray, {}},
        {u"\u5199\u771f.jpg"_s, "JPEG", {50, 40}, Qt::darkCyan, {}},
        // Latin-1, as an old camera or archive writes it: not UTF-8 at all.
        {u"caf\u00e9 Latin-1.jpg"_s, "JPEG", {51, 41}, Qt::darkMagenta, "caf\xE9 Latin-1.jpg"},
    };
}

bool writePicture(const QString& path, const Picture& picture)
{
    if (picture.format == "GIF") {
        QFile file(path);
        const QByteArray gif = test_pictures::solidGif(picture.size, picture.colour);
        return file.open(QIODevice::WriteOnly) && file.write(gif) == gif.size();
    }
    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(picture.colour);
    return image.save(path, picture.format.constData());
}

// Runs Finish's job for `state` in `directory` to its end.
PublishResult publish(const WizardState& state, const QString& directory)
{
    PublishJob job({state, directory});
    QSignalSpy finished(&job, &PublishJob::finished);
    job.start();
    if (!finished.wait(kBrowserWaitMs))
        return {};
    return job.result();
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

BrowserRun dumpDom(const QString& checkerUrl, const QString& profileDir)
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
                   u"--virtual-time-budget=10000"_s, u"--dump-dom"_s, checkerUrl});
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
// The file's name is compared by its bytes: the link must reach it whatever their encoding.
QString urlProblem(const QString& what, const QString& resolved, const QUrl& base,
                   const QString& directory, const Picture& picture)
{
    const QUrl url(resolved, QUrl::StrictMode);
    const QUrl folder = url.adjusted(QUrl::RemoveFilename);
    const QByteArray path = url.path(QUrl::FullyEncoded).toLatin1();
    const QByteArray file = QByteArray::fromPercentEncoding(path.mid(path.lastIndexOf('/') + 1));
    if (!url.isValid() || url.hasQuery() || url.hasFragment() || folder != base ||
        file != picture.onDisk())
        return u"%1 for \"%2\" resolved to %3 (the file \"%4\" in %5), not the file in %6"_s.arg(
            what, picture.name, resolved, QString::fromUtf8(file.toPercentEncoding(" ")),
            folder.toString(), base.toString());
    struct stat status
    {};
    const QByteArray onDisk = QFile::encodeName(directory) + '/' + file;
    if (::stat(onDisk.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return u"%1 for \"%2\" leads to %3, which is no file"_s.arg(what, picture.name, resolved);
    return {};
}

// A web server for one test: serves the files under its root to the browser on the loopback
// address and keeps the path of every request, in order, so a test can tell what the browser
// fetched and when. Each connection gets one answer and is closed.
class LoggingServer
{
public:
    explicit LoggingServer(QString root) : m_root(std::move(root))
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        // NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast)
        if (m_listener < 0 ||
            ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listener, 16) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        // NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast)
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { acceptAll(); });
    }
    ~LoggingServer()
    {
        m_stop = true;
        if (m_acceptor.joinable())
            m_acceptor.join();
        for (std::thread& connection : m_connections)
            connection.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }
    LoggingServer(const LoggingServer&) = delete;
    LoggingServer& operator=(const LoggingServer&) = delete;
    LoggingServer(LoggingServer&&) = delete;
    LoggingServer& operator=(LoggingServer&&) = delete;

    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QStringList requests() const
    {
        const std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    void acceptAll()
    {
        pollfd listener{m_listener, POLLIN, 0};
        while (!m_stop) {
            if (::poll(&listener, 1, 50) <= 0)
                continue;
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection >= 0)
                m_connections.emplace_back([this, connection] { answer(connection); });
        }
    }

    void answer(int connection)
    {
        QByteArray request;
        char buffer[4096];
        pollfd readable{connection, POLLIN, 0};
        while (!request.contains("\r\n\r\n") && !m_stop) {
            if (::poll(&readable, 1, 50) <= 0)
                continue; // a connection opened ahead may never ask anything
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, got);
        }
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        if (words.size() == 3 && words[0] == "GET") {
            const QByteArray target = words[1].split('?').constFirst();
            // Names are bytes: a file is found by its name's bytes, whatever their encoding.
            const QByteArray pathBytes = QByteArray::fromPercentEncoding(target);
            const QString path = QString::fromUtf8(pathBytes);
            {
                const std::lock_guard lock(m_mutex);
                m_requests.append(path);
            }
            const QByteArray filePath = QFile::encodeName(m_root) + pathBytes;
            QByteArray head;
            QByteArray body;
            struct stat status
            {};
            std::ifstream file(filePath.toStdString(), std::ios::binary);
            if (!pathBytes.contains("/../") && ::stat(filePath.constData(), &status) == 0 &&
                S_ISREG(status.st_mode) && file) {
                body.resize(static_cast<qsizetype>(status.st_size));
                file.read(body.data(), status.st_size);
                head = "HTTP/1.1 200 OK\r\nContent-Type: " + contentType(path) + "\r\n";
            } else {
                head = "HTTP/1.1 404 Not Found\r\n";
            }
            head += "Content-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n";
            const QByteArray whole = head + body;
            for (qsizetype sent = 0; sent < whole.size();) {
                const ssize_t more =
                    ::send(connection, whole.constData() + sent, whole.size() - sent, MSG_NOSIGNAL);
                if (more <= 0)
                    break;
                sent += more;
            }
        }
        ::close(connection);
    }

    static QByteArray contentType(const QString& path)
    {
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == u"html")
            return "text/html";
        if (suffix == u"jpg")
            return "image/jpeg";
        return "image/" + suffix.toLatin1();
    }

    QString m_root;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic_bool m_stop{false};
    std::thread m_acceptor;
    std::vector<std::thread> m_connections; // touched by the acceptor only, until it ends
    mutable std::mutex m_mutex;
    QStringList m_requests;
};

// Shows the thumbnail page in a frame and waits until every picture in it has loaded (lazy
// ones load as they come into view, which the tall frame gives them all), reports what
// each showed, then asks the server for "/shown" so its log tells what the showing fetched,
// and only then follows every cell's link and reports what came back.
constexpr auto kThumbnailCheckerPage = R"(<html><head><title>check</title></head><body>
<pre id="result">pending</pre>
<script>
function report(out) {
  var bytes = new TextEncoder().encode(JSON.stringify(out));
  var binary = '';
  for (var i = 0; i < bytes.length; ++i)
    binary += String.fromCharCode(bytes[i]);
  document.getElementById('result').textContent = btoa(binary);
}
function opened(href) {
  return fetch(href).then(function (r) {
    return r.arrayBuffer().then(function (b) { return {href: href, status: r.status, length: b.byteLength}; });
  });
}
function whenShown(frame, tries) {
  var d = frame.contentDocument;
  var pictures = Array.from(d.images);
  if (!pictures.every(function (p) { return p.complete; }) && tries < 100) {
    setTimeout(function () { whenShown(frame, tries + 1); }, 100);
    return;
  }
  var shown = pictures.map(function (p) {
    return {src: p.currentSrc, width: p.width, height: p.height, naturalWidth: p.naturalWidth,
            naturalHeight: p.naturalHeight, alt: p.alt};
  });
  var links = Array.from(d.querySelectorAll('li a')).map(function (a) { return a.href; });
  fetch('/shown').then(function () {
    return Promise.all(links.map(opened));
  }).then(function (links) {
    report({pictures: shown, links: links});
  }).catch(function (e) { report({error: String(e)}); });
}
var frame = document.createElement('iframe');
frame.style.width = '1200px';
frame.style.height = '3000px';
frame.onload = function () { whenShown(frame, 0); };
frame.src = 'PAGE';
document.body.appendChild(frame);
</script>
</body></html>
)";

// One picture of the thumbnail page: written in the test, with its upright size.
struct Original
{
    QString name;
    QByteArray bytes;
    QSize upright;
};

QList<Original> originals()
{
    using namespace test_pictures;
    QByteArray clear;
    for (int y = 0; y < 120; ++y)
        clear += QByteArray(80, '\3') + QByteArray(80, '\0');
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    markedPicture({500, 500}).save(&buffer, "BMP");
    return {
        {u"Photo 1 & 2.JPG"_s, jpegBytes(markedPicture({800, 600})), {800, 600}},
        {u"a#1.jpg"_s, jpegBytes(markedPicture({600, 800})), {600, 800}},
        {u"caf\u00e9 6.jpg"_s,
         withExifOrientation(jpegBytes(storedFor(markedPicture({600, 800}), 6)), 6),
         {600, 800}},
        {u"100%.gif"_s, gifBytes({160, 120}, {qRgb(255, 0, 0), 0, 0, 0}, {clear}, 3), {160, 120}},
        {u"09:10:11.bmp"_s, bmp, {500, 500}},
        {u"Say \"hi\" <2>?.GIF"_s, solidGif({320, 100}, Qt::darkGreen), {320, 100}},
    };
}

} // namespace

class TestPageBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browserShowsEveryPictureAndLink_data();
    void browserShowsEveryPictureAndLink();
    void browserShowsThumbnailsOnly();
    void indexFitsEveryWidthAndLeadsEverywhere();
    void picturePagesStepByKeyAndByLink_data();
    void picturePagesStepByKeyAndByLink();
};

void TestPageBrowser::browserShowsEveryPictureAndLink_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QList<int>>("cellsPerTable");
    QTest::addColumn<bool>("overHttp");

    QTest::newRow("three columns, from the disk") << "3" << QList<int>{3, 3, 3, 3} << false;
    QTest::newRow("2.5 columns with a unit, from the disk")
        << " 2.5 cols" << QList<int>{2, 2, 2, 2, 2, 2} << false;
    QTest::newRow("three columns, from a server naming no charset")
        << "3" << QList<int>{3, 3, 3, 3} << true;
}

void TestPageBrowser::browserShowsEveryPictureAndLink()
{
    QFETCH(QString, columns);
    QFETCH(QList<int>, cellsPerTable);
    QFETCH(bool, overHttp);

    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    // The pictures' directory has a blank and an accent of its own.
    const QString root = QDir::cleanPath(temporary.path());
    const QString folder = u"/My Pictures \u00e9"_s; // as a server sees it
    const QString directory = root + folder;
    const QString profile = QDir::cleanPath(temporary.path()) + u"/profile"_s;
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(QDir().mkpath(profile));

    const QList<Picture> all = pictures();
    WizardState state = pageState({}, columns);
    state.sFileName = QString::fromLatin1(kPageName);
    NamePoolBuilder names;
    for (const Picture& picture : all) {
        const QString path = directory + u"/new picture"_s;
        QVERIFY2(writePicture(path, picture), qPrintable(picture.name));
        // The picture on disk is what the browser's size will be compared with.
        QImageReader reader(path);
        QCOMPARE(reader.format(), picture.format.toLower());
        QCOMPARE(reader.size(), picture.size);
        // Then it takes its name, as bytes.
        const QByteArray onDisk = QFile::encodeName(directory) + '/' + picture.onDisk();
        QCOMPARE(::rename(QFile::encodeName(path).constData(), onDisk.constData()), 0);
        names.add(picture.onDisk());
    }
    // The page's names in the pictures' order, each by its bytes.
    const std::shared_ptr<const NamePool> pool = names.build();
    BigVector<std::uint32_t> order;
    for (const Picture& picture : all) {
        for (std::uint32_t i = 0; i < pool->size(); ++i) {
            if (pool->bytes(i) == picture.onDisk())
                order.push_back(i);
        }
    }
    order.push_back(NameList::kEmptyName);
    state.sImageFiles = NameList(pool, std::move(order));
    QCOMPARE(state.imageCount(), all.size());

    const SaveResult saved = savePage(directory, state.sFileName, renderPage(state));
    QVERIFY2(saved.ok, qPrintable(saved.error));
    const QString checkerPath = directory + u'/' + QString::fromLatin1(kCheckerName);
    QFile checker(checkerPath);
    QVERIFY(checker.open(QIODevice::WriteOnly));
    checker.write(QByteArray(kCheckerPage).replace("PAGE", kPageName));
    checker.close();

    // A server that sends the page as "text/html", naming no charset: the browser guesses.
    std::optional<LoggingServer> server;
    QUrl base = QUrl::fromLocalFile(directory + u'/');
    if (overHttp) {
        server.emplace(root);
        QVERIFY(server->port() != 0);
        base = QUrl(u"http://127.0.0.1:%1"_s.arg(server->port()) + folder + u'/');
    }
    const BrowserRun run =
        dumpDom(base.resolved(QUrl(QString::fromLatin1(kCheckerName))).toString(QUrl::FullyEncoded),
                profile);
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
        problems << urlProblem(u"the link"_s, link[u"href"_s].toString(), base, directory, picture)
                 << urlProblem(u"the picture"_s, shown[u"src"_s].toString(), base, directory,
                               picture);
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

void TestPageBrowser::browserShowsThumbnailsOnly()
{
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QString root = QDir::cleanPath(temporary.path());
    const QString folder = u"/My Pictures \u00e9"_s; // as the server sees it
    const QString directory = root + folder;
    const QString profile = root + u"/profile"_s;
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(QDir().mkpath(profile));

    const QList<Original> all = originals();
    QStringList names;
    for (const Original& original : all) {
        QVERIFY(test_pictures::writeBytes(directory + u'/' + original.name, original.bytes));
        names.append(original.name);
    }
    WizardState state = pageState(names, u"3"_s);
    state.sFileName = u"My #1 page.html"_s; // its folder's name needs care in a link too

    state.bThumbnails = true;
    const PublishResult made = publish(state, directory);
    QVERIFY2(made.complete(), qPrintable(made.error + made.page.error));
    QCOMPARE(made.failed, 0);
    QVERIFY(
        test_pictures::writeBytes(directory + u"/checker.html"_s,
                                  QByteArray(kThumbnailCheckerPage)
                                      .replace("PAGE", QUrl::toPercentEncoding(state.sFileName))));

    LoggingServer server(root);
    QVERIFY(server.port() != 0);
    const QString base = u"http://127.0.0.1:%1"_s.arg(server.port());
    const BrowserRun run = dumpDom(
        base + QString::fromLatin1(QUrl::toPercentEncoding(folder, "/")) + u"/checker.html"_s,
        profile);
    const QString asked = u"\nthe browser asked for:\n"_s + server.requests().join(u'\n');
    if (!run.failure.isEmpty())
        QFAIL(qPrintable(run.failure + asked));
    QString failure;
    const QJsonObject report = reportIn(run.dom, &failure);
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure + asked));

    // What the showing fetched: the page and its thumbnails, no original.
    const QStringList requests = server.requests();
    const qsizetype shownAt = requests.indexOf(u"/shown"_s);
    QVERIFY2(shownAt >= 0, qPrintable(requests.join(u'\n')));
    const QStringList whileShowing = requests.first(shownAt);
    QStringList problems;
    for (const Original& original : all) {
        if (whileShowing.contains(folder + u'/' + original.name))
            problems << u"the original \"%1\" was fetched while the page was shown"_s.arg(
                original.name);
    }

    const QJsonArray pictures = report.value(u"pictures"_s).toArray();
    const QJsonArray links = report.value(u"links"_s).toArray();
    QCOMPARE(pictures.size(), all.size());
    QCOMPARE(links.size(), all.size());
    for (qsizetype i = 0; i < all.size(); ++i) {
        const Original& original = all[i];
        const ThumbnailCell& cell = made.cells[i];
        const QJsonObject shown = pictures[i].toObject();
        const QString source = QUrl(shown[u"src"_s].toString()).path(QUrl::FullyDecoded);
        if (source != folder + u'/' + cell.source)
            problems << u"\"%1\" shows %2, not its thumbnail %3"_s.arg(original.name, source,
                                                                       cell.source);
        if (whileShowing.count(folder + u'/' + cell.source) != 1)
            problems << u"the thumbnail of \"%1\" was fetched %2 times"_s.arg(original.name)
                            .arg(whileShowing.count(folder + u'/' + cell.source));
        // Loaded, at the thumbnail's own pixels, shown at its size on the page.
        const QSize natural(shown[u"naturalWidth"_s].toInt(), shown[u"naturalHeight"_s].toInt());
        const QSize thumbnailPixels = QImageReader(directory + u'/' + cell.source).size();
        if (natural != thumbnailPixels)
            problems << u"\"%1\": the browser decoded %2x%3, the thumbnail is %4x%5"_s
                            .arg(original.name)
                            .arg(natural.width())
                            .arg(natural.height())
                            .arg(thumbnailPixels.width())
                            .arg(thumbnailPixels.height());
        const QSize onPage(shown[u"width"_s].toInt(), shown[u"height"_s].toInt());
        if (onPage != QSize(cell.width, cell.height))
            problems << u"\"%1\" is shown at %2x%3, not %4x%5"_s.arg(original.name)
                            .arg(onPage.width())
                            .arg(onPage.height())
                            .arg(cell.width)
                            .arg(cell.height);
        // True proportions: the shown height is the original's, for the shown width, to a
        // pixel.
        const QSize upright = original.upright;
        const double trueHeight = double(onPage.width()) * upright.height() / upright.width();
        if (std::abs(trueHeight - onPage.height()) > 1.0)
            problems << u"\"%1\" is shown at %2x%3, the proportions of %4x%5 need a height of %6"_s
                            .arg(original.name)
                            .arg(onPage.width())
                            .arg(onPage.height())
                            .arg(upright.width())
                            .arg(upright.height())
                            .arg(trueHeight);
        if (shown[u"alt"_s].toString() != original.name)
            problems << u"\"%1\" has the text \"%2\""_s.arg(original.name,
                                                            shown[u"alt"_s].toString());
        // The link opens the original.
        const QJsonObject link = links[i].toObject();
        const QString target = QUrl(link[u"href"_s].toString()).path(QUrl::FullyDecoded);
        if (target != folder + u'/' + original.name || link[u"status"_s].toInt() != 200 ||
            link[u"length"_s].toInteger() != original.bytes.size())
            problems << u"the link of \"%1\" opened %2 (status %3, %4 bytes)"_s.arg(original.name)
                            .arg(target)
                            .arg(link[u"status"_s].toInt())
                            .arg(link[u"length"_s].toInteger());
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

// Steps through the picture pages in a frame: with scripts, by the Left and Right keys; without
// (a sandboxed frame), by the Previous and Next links; each way all around, from the first page
// and back, the frame at a phone's size upright and turned, a desktop's and a large screen's.
// At each page it notes where it is, what it shows, and whether the picture fits the window.
constexpr auto kStepperPage = R"page(<html><head><title>step</title></head><body>
<pre id="result">pending</pre>
<iframe id="f" style="border:0"></iframe>
<script>
var first = "FIRST", count = COUNT;
var log = {};
var frame = document.getElementById("f");
function size(w, h) { frame.style.width = w + "px"; frame.style.height = h + "px"; }
function loaded(then) {
  frame.onload = function () { frame.onload = null; setTimeout(then, 0); };
}
function here() {
  var w = frame.contentWindow, d = w.document, img = d.querySelector("main img");
  var r = img.getBoundingClientRect();
  return {
    path: decodeURIComponent(w.location.pathname),
    position: d.querySelector("nav span").textContent,
    natural: img.naturalWidth,
    fits: r.width > 0 && r.left >= -0.5 && r.right <= w.innerWidth + 0.5 &&
          r.bottom <= w.innerHeight + 0.5 &&
          d.documentElement.scrollWidth <= w.innerWidth,
    index: d.querySelector("nav a:not([id])").href
  };
}
function steps(name, n, act, then) {
  log[name] = [here()];
  (function next(left) {
    if (left === 0) { then(); return; }
    loaded(function () { log[name].push(here()); next(left - 1); });
    act();
  })(n);
}
function key(k) {
  frame.contentDocument.dispatchEvent(new KeyboardEvent("keydown", {key: k, bubbles: true}));
}
function link(id) { frame.contentDocument.getElementById(id).click(); }
function open(sandboxed, then) {
  if (sandboxed) frame.setAttribute("sandbox", "allow-same-origin");
  loaded(then);
  frame.src = first + (sandboxed ? "?without-scripts" : "");
}
function done() {
  document.getElementById("result").textContent =
    btoa(unescape(encodeURIComponent(JSON.stringify(log))));
}
window.onerror = function (message) { log.error = String(message); done(); };
size(390, 844);
open(false, function () {
  steps("keyRight", count, function () { key("ArrowRight"); }, function () {
    size(844, 390);
    steps("keyLeft", count, function () { key("ArrowLeft"); }, function () {
      size(1280, 800);
      open(true, function () {
        steps("linkNext", count, function () { link("next"); }, function () {
          size(2560, 1440);
          steps("linkPrevious", count, function () { link("previous"); }, done);
        });
      });
    });
  });
});
</script></body></html>
)page";

// Loads the index's first page in a frame at each width and notes whether anything scrolls
// sideways and how many boxes the first row holds; follows every index page's links from the
// first, noting each picture's text, that Tab reaches every link and draws a focus outline;
// and runs axe-core on the first page and the second.
constexpr auto kIndexCheckerPage = R"page(<html><head><title>index</title></head><body>
<pre id="result">pending</pre>
<iframe id="f" style="border:0; width: 1280px; height: 900px"></iframe>
<script>
var first = "PAGE", axeSource = new URL("axe.min.js", location.href).href;
var log = {widths: [], pages: [], pictures: [], focus: [], axe: []};
var frame = document.getElementById("f");
function load(src, then) {
  frame.onload = function () { frame.onload = null; setTimeout(then, 0); };
  frame.src = src;
}
function done() {
  document.getElementById("result").textContent =
    btoa(unescape(encodeURIComponent(JSON.stringify(log))));
}
window.onerror = function (message) { log.error = String(message); done(); };
function widths(list, then) {
  if (list.length === 0) { then(); return; }
  frame.style.width = list[0] + "px";
  load(first + "?" + list[0], function () {
    var d = frame.contentDocument, items = d.querySelectorAll("li");
    var top = items[0].offsetTop, row = 0;
    for (var i = 0; i < items.length && items[i].offsetTop === top; ++i) ++row;
    log.widths.push({width: list[0], scrolls: d.documentElement.scrollWidth >
                     d.documentElement.clientWidth, firstRow: row});
    widths(list.slice(1), then);
  });
}
function axe(then) {
  var d = frame.contentDocument, script = d.createElement("script");
  script.src = axeSource;
  script.onload = function () {
    frame.contentWindow.axe.run(d, {resultTypes: ["violations"]}).then(function (r) {
      log.axe.push(r.violations.map(function (v) {
        return {id: v.id, impact: v.impact, nodes: v.nodes.length};
      }));
      then();
    });
  };
  d.head.appendChild(script);
}
var queue = [], seen = {};
function crawl(then) {
  if (queue.length === 0) { then(); return; }
  var url = queue.shift();
  load(url, function () {
    var w = frame.contentWindow, d = w.document;
    log.pages.push(decodeURIComponent(w.location.pathname));
    d.querySelectorAll("li img").forEach(function (img) { log.pictures.push(img.alt); });
    var links = d.querySelectorAll("li a"), reached = 0, outlined = 0;
    links.forEach(function (a) {
      if (a.tabIndex === 0) ++reached;
      a.focus();
      var style = w.getComputedStyle(a);
      if (d.activeElement === a && style.outlineStyle !== "none" &&
          parseFloat(style.outlineWidth) >= 2) ++outlined;
    });
    log.focus.push({links: links.length, reached: reached, outlined: outlined});
    d.querySelectorAll("nav a").forEach(function (a) {
      if (!seen[a.href]) { seen[a.href] = true; queue.push(a.href); }
    });
    var next = function () { crawl(then); };
    if (log.axe.length < 2) axe(next); else next();
  });
}
widths([320, 390, 768, 1280, 2560], function () {
  frame.style.width = "1280px";
  var start = new URL(first, location.href).href;
  seen[start] = true;
  queue.push(start);
  crawl(done);
});
</script></body></html>
)page";

void TestPageBrowser::indexFitsEveryWidthAndLeadsEverywhere()
{
    const QString axe = QString::fromLatin1(qgetenv("VIGNETTA_AXE"));
    QVERIFY2(QFileInfo(axe).isFile(),
             "axe-core not found: VIGNETTA_AXE names its axe.min.js (scripts/vignetta.sh test "
             "installs it from the npm registry)");
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QString root = QDir::cleanPath(temporary.path());
    QVERIFY(QDir().mkpath(root + u"/Vignetta_files"_s));
    QVERIFY(QDir().mkpath(root + u"/profile"_s));
    QVERIFY(QFile::copy(axe, root + u"/axe.min.js"_s));

    // 1,201 pictures, five to a row: three index pages. They share one small thumbnail.
    QStringList names;
    QList<ThumbnailCell> cells;
    for (int i = 0; i < 1201; ++i) {
        names.append(u"Photo %1.jpg"_s.arg(i));
        cells.append({u"Vignetta_files/t.jpg"_s, 150, i % 3 == 0 ? 150 : 100, {}});
    }
    QImage thumbnail(300, 200, QImage::Format_RGB32);
    thumbnail.fill(Qt::darkCyan);
    QVERIFY(thumbnail.save(root + u"/Vignetta_files/t.jpg"_s, "JPEG"));
    WizardState state = pageState(names, u"5"_s);
    state.sTitle = u"A summer & a winter"_s;
    const IndexSettings settings{u"Vignetta_files"_s, u"en"_s};
    for (int number = 1; number <= indexPageCount(names.size()); ++number) {
        const QString path =
            number == 1 ? QString(root + u"/Vignetta.html"_s)
                        : QString(root + u"/Vignetta_files/"_s + indexPageFileName(number));
        QVERIFY(test_pictures::writeBytes(path, renderIndexPage(state, cells, number, settings)));
    }
    QVERIFY(test_pictures::writeBytes(root + u"/checker.html"_s,
                                      QByteArray(kIndexCheckerPage).replace("PAGE", kPageName)));
    const BrowserRun run =
        dumpDom(QUrl::fromLocalFile(root + u"/checker.html"_s).toString(), root + u"/profile"_s);
    if (!run.failure.isEmpty())
        QFAIL(qPrintable(run.failure));
    QString failure;
    const QJsonObject report = reportIn(run.dom, &failure);
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure));

    QStringList problems;
    // No width scrolls sideways; five to a row where five boxes fit (5 x 160 + 4 x 6 pixels).
    const QJsonArray widths = report.value(u"widths"_s).toArray();
    QCOMPARE(widths.size(), 5);
    for (const auto& one : widths) {
        const QJsonObject at = one.toObject();
        const int width = at[u"width"_s].toInt();
        const int row = at[u"firstRow"_s].toInt();
        if (at[u"scrolls"_s].toBool())
            problems << u"at %1 pixels the page scrolls sideways"_s.arg(width);
        if (row > 5 || (width >= 824 + 16 && row != 5) || row < 1)
            problems << u"at %1 pixels the first row holds %2"_s.arg(width).arg(row);
    }
    // From the first page every picture, once, and each index page.
    QStringList reached;
    for (const auto& alt : report.value(u"pictures"_s).toArray())
        reached.append(alt.toString());
    if (reached != names)
        problems << u"from the first page %1 pictures were reached, of %2"_s.arg(reached.size())
                        .arg(names.size());
    if (report.value(u"pages"_s).toArray().size() != 3)
        problems << u"the index pages reached: "_s +
                        QString::fromUtf8(
                            QJsonDocument(report.value(u"pages"_s).toArray()).toJson());
    for (const auto& one : report.value(u"focus"_s).toArray()) {
        const QJsonObject at = one.toObject();
        if (at[u"reached"_s] != at[u"links"_s] || at[u"outlined"_s] != at[u"links"_s])
            problems << u"of %1 links, Tab reaches %2 and %3 show a focus outline"_s
                            .arg(at[u"links"_s].toInt())
                            .arg(at[u"reached"_s].toInt())
                            .arg(at[u"outlined"_s].toInt());
    }
    // axe-core finds nothing serious or critical.
    const QJsonArray axeRuns = report.value(u"axe"_s).toArray();
    if (axeRuns.size() != 2)
        problems << u"axe-core ran %1 times"_s.arg(axeRuns.size());
    for (const auto& runOn : axeRuns) {
        for (const auto& violation : runOn.toArray()) {
            const QJsonObject v = violation.toObject();
            const QString impact = v[u"impact"_s].toString();
            if (impact == u"serious" || impact == u"critical")
                problems << u"axe-core: %1 (%2, %3 elements)"_s.arg(v[u"id"_s].toString(), impact)
                                .arg(v[u"nodes"_s].toInt());
        }
    }
    if (report.contains(u"error"_s))
        problems << report.value(u"error"_s).toString();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestPageBrowser::picturePagesStepByKeyAndByLink_data()
{
    QTest::addColumn<bool>("overHttp");
    QTest::newRow("from the disk") << false;
    QTest::newRow("from a web server") << true;
}

void TestPageBrowser::picturePagesStepByKeyAndByLink()
{
    QFETCH(bool, overHttp);
    QTemporaryDir temporary;
    QVERIFY(temporary.isValid());
    const QString root = QDir::cleanPath(temporary.path());
    const QString folder = u"/Trip #2"_s;
    const QString directory = root + folder;
    const QString profile = root + u"/profile"_s;
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(QDir().mkpath(profile));

    // Wide and tall photos, one recording where it was taken, and one picture that is none.
    const QList<std::pair<QString, QSize>> photos{{u"wide & far.jpg"_s, {1600, 900}},
                                                  {u"tall #1.jpg"_s, {900, 1600}},
                                                  {u"square.jpg"_s, {700, 700}},
                                                  {u"large.jpg"_s, {3000, 2000}}};
    QStringList names;
    for (const auto& [name, size] : photos) {
        QByteArray bytes = test_pictures::jpegBytes(test_pictures::markedPicture(size));
        if (names.isEmpty())
            bytes = test_pictures::withApp1(
                bytes, QByteArray("Exif\0\0", 6) +
                           test_pictures::exifTiff({{0x0112, 1}, {0x010F, 7}},
                                                   {{1, 'N'}, {2, 200}, {3, 'E'}, {4, 300}}));
        QVERIFY(test_pictures::writeBytes(directory + u'/' + name, bytes));
        names.append(name);
    }
    QVERIFY(test_pictures::writeBytes(directory + u"/no picture.jpg"_s, "text"));
    names.append(u"no picture.jpg"_s);
    WizardState state = pageState(names, u"3"_s);
    state.bThumbnails = true;
    state.bPicturePages = true;
    const PublishResult made = publish(state, directory);
    QVERIFY2(made.complete(), qPrintable(made.error + made.page.error));
    QCOMPARE(made.made, 4);

    // Nothing the page links (its thumbnails, copies and pages; originals are not linked)
    // carries EXIF, GPS, XMP, IPTC, a colour profile or a comment.
    QStringList linked;
    for (const PictureOutcome& one : made.outcome) {
        for (const QString& file : {one.thumbnail, one.copy, one.picturePage}) {
            if (!file.isEmpty())
                linked.append(made.folder + u'/' + file);
        }
    }
    QProcess exiftool;
    exiftool.start(u"exiftool"_s, QStringList{u"-json"_s, u"-a"_s, u"-G1"_s} + linked);
    QVERIFY2(exiftool.waitForFinished(kBrowserWaitMs),
             "exiftool did not run: install libimage-exiftool-perl (scripts/vignetta.sh does)");
    const QJsonArray tags = QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array();
    QCOMPARE(tags.size(), linked.size());
    QStringList carried;
    for (const auto& file : tags) {
        const QStringList keys = file.toObject().keys();
        for (const QString& key : keys) {
            const QString group = key.section(u':', 0, 0).toLower();
            if (group.startsWith(u"[exif") || group.startsWith(u"[gps") ||
                group.startsWith(u"[xmp") || group.startsWith(u"[iptc") ||
                group.startsWith(u"[icc") || group.startsWith(u"[ifd") || key.endsWith(u":Comment"))
                carried << file.toObject().value(u"SourceFile"_s).toString() + u": "_s + key;
        }
    }
    QVERIFY2(carried.isEmpty(), qPrintable(carried.join(u'\n')));

    // Every picture, all around, both ways, by key and without scripts by link.
    const QString first = made.cells.first().link;
    QVERIFY(test_pictures::writeBytes(directory + u"/stepper.html"_s,
                                      QByteArray(kStepperPage)
                                          .replace("FIRST", linkAttribute(QStringView(first)))
                                          .replace("COUNT", "4")));
    std::optional<LoggingServer> server;
    QString url = QUrl::fromLocalFile(directory + u"/stepper.html"_s).toString();
    if (overHttp) {
        server.emplace(root);
        QVERIFY(server->port() != 0);
        url = u"http://127.0.0.1:%1"_s.arg(server->port()) +
              QString::fromLatin1(QUrl::toPercentEncoding(folder, "/")) + u"/stepper.html"_s;
    }
    const BrowserRun run = dumpDom(url, profile);
    if (!run.failure.isEmpty())
        QFAIL(qPrintable(run.failure));
    QString failure;
    const QJsonObject report = reportIn(run.dom, &failure);
    if (!failure.isEmpty())
        QFAIL(qPrintable(failure));
    QVERIFY2(!report.contains(u"error"_s), qPrintable(report.value(u"error"_s).toString()));

    const QString prefix = (overHttp ? folder : directory) + u"/Vignetta_files/"_s;
    QStringList order; // the pages in the order of their pictures
    for (qsizetype i = 0; i < 4; ++i)
        order.append(prefix + made.outcome[i].picturePage);
    QStringList problems;
    for (const QString& way : {u"keyRight"_s, u"keyLeft"_s, u"linkNext"_s, u"linkPrevious"_s}) {
        const QJsonArray visited = report.value(way).toArray();
        if (visited.size() != 5) {
            problems << way + u": visited %1 pages"_s.arg(visited.size());
            continue;
        }
        const int step = way.endsWith(u"Right") || way.endsWith(u"Next") ? 1 : -1;
        for (int n = 0; n < 5; ++n) {
            const QJsonObject at = visited[n].toObject();
            const int expected = ((n * step) % 4 + 4) % 4;
            const QString path = at[u"path"_s].toString();
            if (path != order[expected])
                problems << way + u" %1: at %2, not %3"_s.arg(n).arg(path, order[expected]);
            if (at[u"position"_s].toString() != u"%1 of 4"_s.arg(expected + 1))
                problems << way + u" %1: shows \"%2\""_s.arg(n).arg(at[u"position"_s].toString());
            const QImage copy(made.folder + u'/' + made.outcome[expected].copy);
            if (at[u"natural"_s].toInt() != copy.width())
                problems << way + u" %1: the picture is %2 wide, its copy %3"_s.arg(n)
                                      .arg(at[u"natural"_s].toInt())
                                      .arg(copy.width());
            if (!at[u"fits"_s].toBool())
                problems << way + u" %1: the picture does not fit the window"_s.arg(n);
            if (QUrl(at[u"index"_s].toString()).path(QUrl::FullyDecoded) !=
                (overHttp ? folder : directory) + u"/Vignetta.html"_s)
                problems << way + u" %1: Index leads to "_s.arg(n) + at[u"index"_s].toString();
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestPageBrowser)
#include "tst_page_browser.moc"
