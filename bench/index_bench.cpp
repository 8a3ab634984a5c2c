// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the index of a page with thumbnail files in headless Chromium, read from the disk: the
// first paint and the load event of its first index page (the one of the most pictures), and
// the browser's peak memory (the resident memory of all its processes, added up), for 1,000,
// 10,000 and 32,767 pictures; beside one plain CSS grid of all the same thumbnails on one
// page, lazily loaded too. Prints a Markdown table.
//
//   build/default/bench/index_bench [--runs 3]
//
// The thumbnails are 1,000 small JPEGs of their own, shared round by larger pages.

#include "core/wizard_state.h"
#include "output/index_page.h"
#include "output/page_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kThumbnails = 1000;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "index_bench: %s\n", qPrintable(what));
    std::exit(1);
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Reports the frame's timings once it has loaded, as the parent's own load waits for it.
constexpr auto kTimerPage = R"page(<html><body><pre id="result">pending</pre>
<iframe id="f" style="border:0; width: 1280px; height: 800px" src="PAGE"></iframe>
<script>
var frame = document.getElementById("f");
frame.onload = function () {
  var p = frame.contentWindow.performance, nav = p.getEntriesByType("navigation")[0];
  var paint = p.getEntriesByName("first-contentful-paint")[0] || p.getEntriesByName("first-paint")[0];
  document.getElementById("result").textContent = JSON.stringify({
    load: nav.loadEventEnd - nav.startTime, paint: paint ? paint.startTime : -1});
};
</script></body></html>
)page";

// The resident memory of a process and all its descendants, in bytes.
qint64 treeResident(qint64 root)
{
    qint64 total = 0;
    std::vector<qint64> pending{root};
    const QStringList all = QDir(u"/proc"_s).entryList(QDir::Dirs);
    while (!pending.empty()) {
        const qint64 pid = pending.back();
        pending.pop_back();
        QFile statm(u"/proc/%1/statm"_s.arg(pid));
        if (statm.open(QIODevice::ReadOnly))
            total += statm.readAll().split(' ').value(1).toLongLong() * 4096;
        for (const QString& entry : all) {
            QFile stat(u"/proc/"_s + entry + u"/stat"_s);
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.value(1).toLongLong() == pid)
                pending.push_back(entry.toLongLong());
        }
    }
    return total;
}

struct Measured
{
    double loadMs = 0;
    double paintMs = 0;
    double peakMiB = 0;
};

Measured measure(const QString& timerPage, const QString& profile)
{
    QDir(profile).removeRecursively();
    QProcess browser;
    browser.start(
        u"/usr/bin/chromium"_s,
        {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--disable-quic"_s,
         u"--no-first-run"_s, u"--disable-background-networking"_s, u"--disable-component-update"_s,
         u"--disable-sync"_s, u"--user-data-dir="_s + profile, u"--allow-file-access-from-files"_s,
         u"--window-size=1300,850"_s, u"--dump-dom"_s, QUrl::fromLocalFile(timerPage).toString()});
    if (!browser.waitForStarted(30000))
        fail(u"chromium did not start"_s);
    qint64 peak = 0;
    while (!browser.waitForFinished(20))
        peak = std::max(peak, treeResident(browser.processId()));
    const QByteArray dom = browser.readAllStandardOutput();
    const qsizetype from = dom.indexOf("<pre id=\"result\">") + 17;
    const QJsonObject result =
        QJsonDocument::fromJson(dom.mid(from, dom.indexOf("</pre>", from) - from)).object();
    if (result.isEmpty())
        fail(u"no timings from the browser: "_s + QString::fromUtf8(dom.left(300)));
    return {result[u"load"_s].toDouble(), result[u"paint"_s].toDouble(),
            double(peak) / (1024.0 * 1024.0)};
}

// The plain grid: every thumbnail on one page, in a CSS grid, lazily loaded.
QByteArray plainGrid(const vignetta::WizardState& state,
                     const QList<vignetta::ThumbnailCell>& cells)
{
    QByteArray html = "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                      "<title>grid</title><style>div { display: grid; grid-template-columns: "
                      "repeat(auto-fill, 160px); gap: 6px; justify-content: center; }"
                      "</style></head><body><div>\n";
    for (qsizetype i = 0; i < cells.size(); ++i)
        html += "<a href=\"p" + QByteArray::number(i) + ".jpg\"><img src=\"" +
                cells[i].source.toUtf8() + R"(" width="150" height="113" alt=")" +
                state.sImageFiles.at(i).toUtf8() + "\" loading=\"lazy\"></a>\n";
    return html + "</div></body></html>\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 3;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == u"--runs")
            runs = std::max(1, arguments[i + 1].toInt());
        else
            fail(u"usage: index_bench [--runs N]"_s);
    }
    QTemporaryDir work;
    const QString root = work.path();
    QDir().mkpath(root + u"/Vignetta_files"_s);
    for (int i = 0; i < kThumbnails; ++i) {
        QImage thumbnail(300, 226, QImage::Format_RGB32);
        thumbnail.fill(QColor::fromHsv(i * 37 % 360, 120, 200));
        if (!thumbnail.save(root + u"/Vignetta_files/t%1.jpg"_s.arg(i), "JPEG", 85))
            fail(u"cannot write the thumbnails"_s);
    }

    std::printf("## The index in headless Chromium, from the disk, 1280x800, median of %d runs\n\n"
                "| pictures | page | first paint ms | load event ms | browser memory MiB |\n"
                "|---:|---|---:|---:|---:|\n",
                runs);
    for (const int count : {1000, 10000, 32767}) {
        QStringList names;
        QList<vignetta::ThumbnailCell> cells;
        for (int i = 0; i < count; ++i) {
            names.append(u"p%1.jpg"_s.arg(i));
            cells.append({u"Vignetta_files/t%1.jpg"_s.arg(i % kThumbnails), 150, 113, {}});
        }
        names.append(QString());
        vignetta::WizardState state;
        state.sImageFiles = names;
        state.sWidth = u"150"_s;
        state.sHeight = u"150"_s;
        state.sColumns = u"5"_s;
        state.bBorder = true;
        state.sThickness = u"2"_s;
        state.sForeColor = u"#000000"_s;
        state.sBackColor = u"#FFFFFF"_s;
        state.sFileName = u"Vignetta.html"_s;
        state.bThumbnails = true;
        const QString ours = root + u"/Vignetta.html"_s;
        const QString grid = root + u"/grid.html"_s;
        if (!write(ours,
                   vignetta::renderIndexPage(state, cells, 1, {u"Vignetta_files"_s, u"en"_s})) ||
            !write(grid, plainGrid(state, cells)))
            fail(u"cannot write the pages"_s);
        for (const auto& [page, label] :
             {std::pair{u"Vignetta.html"_s, "Vignetta's first index page"},
              std::pair{u"grid.html"_s, "one plain CSS grid of all"}}) {
            const QString timer = root + u"/timer.html"_s;
            if (!write(timer, QByteArray(kTimerPage).replace("PAGE", page.toUtf8())))
                fail(u"cannot write the timer"_s);
            std::vector<Measured> all;
            all.reserve(static_cast<std::size_t>(runs));
            for (int r = 0; r < runs; ++r)
                all.push_back(measure(timer, root + u"/profile"_s));
            const auto median = [&](auto field) {
                std::vector<double> values;
                values.reserve(all.size());
                for (const Measured& m : all)
                    values.push_back(m.*field);
                std::sort(values.begin(), values.end());
                return values[values.size() / 2];
            };
            std::printf("| %d | %s | %.0f | %.0f | %.0f |\n", count, label,
                        median(&Measured::paintMs), median(&Measured::loadMs),
                        median(&Measured::peakMiB));
            std::fflush(stdout);
        }
    }
    return 0;
}
