// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times Finish's job for a folder of camera-sized JPEGs, thumbnails alone and with picture pages
// (thumbnails and screen-size copies): cold (nothing made yet) and warm (everything reusable),
// next to vipsthumbnail making the same sizes from the same files on the same number of threads,
// and to one core decoding the same files at full size; the job's peak resident memory; what a
// visitor looking at 20 photos downloads; and the JPEG encodings a thumbnail could be written
// in. Prints Markdown tables.
//
//   bash bench/thumbnails.sh                 (draws the pictures once, installs vipsthumbnail)
//   build/default/bench/thumbnail_bench --pictures DIR [--count 300] [--repeat 3]
//
// The job runs in a child process ("--job DIR COUNT cold|warm thumbnails|pages") so that its
// peak memory is its own, not the drawing's or the full-size decoding's.

#include "core/file_names.h"
#include "output/page_writer.h"
#include "thumbnails/publish_job.h"
#include "thumbnails/thumbnail_folder.h"
#include "thumbnails/thumbnail_maker.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize kPictureSize(4000, 3000); // 12 megapixels
constexpr QSize kBox(150, 150);
const QString kPageName = u"Bench.html"_s;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "thumbnail_bench: %s\n", qPrintable(what));
    std::exit(1);
}

QString pictureName(int i)
{
    return u"IMG_%1.jpg"_s.arg(i, 4, 10, QChar(u'0'));
}

QString loadAverage()
{
    QFile file(u"/proc/loadavg"_s);
    if (!file.open(QIODevice::ReadOnly))
        return u"?"_s;
    return QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '));
}

// The process's peak resident memory, in MiB, from the kernel's own count.
double peakResidentMiB()
{
    QFile file(u"/proc/self/status"_s);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// The processor time, user and system, that the finished child processes have used so far:
// less disturbed than the clock by other work on a shared machine.
double childrenCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// ---- The pictures: drawn once, kept outside the repository ---------------------------------

// Something like a photograph to a JPEG coder: broad soft gradients, a band of fine texture
// and sensor noise everywhere, so the files come out at a few megabytes each, as a camera's do.
QImage drawPicture(int seed)
{
    QImage image(kPictureSize, QImage::Format_RGB32);
    const int w = kPictureSize.width();
    const int h = kPictureSize.height();
    std::vector<int> column(static_cast<std::size_t>(w) * 3);
    std::vector<int> row(static_cast<std::size_t>(h) * 3);
    for (int c = 0; c < 3; ++c) {
        const double phase = seed * 0.7 + c * 2.1;
        for (int x = 0; x < w; ++x)
            column[static_cast<std::size_t>(x) * 3 + c] =
                int(60 * std::sin(x / (500.0 + 60 * c) + phase) + 25 * std::sin(x / 90.0 + c));
        for (int y = 0; y < h; ++y)
            row[static_cast<std::size_t>(y) * 3 + c] =
                int(60 * std::cos(y / (400.0 + 50 * c) + phase) + 20 * std::sin(y / 70.0 - c));
    }
    quint32 noise = 2463534242u + static_cast<quint32>(seed);
    const int bandTop = (seed * 397) % (h / 2);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const bool textured = y >= bandTop && y < bandTop + h / 3;
        for (int x = 0; x < w; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise & 15) - 8;
            const int texture = textured ? int(((x * 7) ^ (y * 5)) & 31) - 16 : 0;
            int rgb[3];
            for (int c = 0; c < 3; ++c)
                rgb[c] = std::clamp(128 + column[static_cast<std::size_t>(x) * 3 + c] +
                                        row[static_cast<std::size_t>(y) * 3 + c] + grain + texture,
                                    0, 255);
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

void drawMissingPictures(const QString& folder, int count)
{
    if (!QDir().mkpath(folder))
        fail(u"cannot make "_s + folder);
    std::vector<int> missing;
    for (int i = 0; i < count; ++i) {
        if (!QFileInfo::exists(folder + u'/' + pictureName(i)))
            missing.push_back(i);
    }
    if (missing.empty())
        return;
    std::fprintf(stderr, "Drawing %zu pictures of %dx%d into %s (once) ...\n", missing.size(),
                 kPictureSize.width(), kPictureSize.height(), qPrintable(folder));
    std::atomic<std::size_t> next{0};
    std::atomic_bool failed{false};
    const auto work = [&] {
        for (std::size_t k = next++; k < missing.size(); k = next++) {
            const QString path = folder + u'/' + pictureName(missing[k]);
            // Written under another name first, so that an interrupted run leaves no half file.
            if (!drawPicture(missing[k]).save(path + u".part"_s, "JPEG", 92) ||
                !QFile::rename(path + u".part"_s, path))
                failed = true;
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(QThread::idealThreadCount()));
    for (int t = 0; t < QThread::idealThreadCount(); ++t)
        threads.emplace_back(work);
    for (std::thread& thread : threads)
        thread.join();
    if (failed)
        fail(u"cannot write the pictures into "_s + folder);
}

QStringList pictureNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(pictureName(i));
    return names;
}

// ---- Vignetta's job, in a child process -----------------------------------------------------

vignetta::WizardState benchState(int count, bool pages)
{
    vignetta::WizardState state;
    QStringList files = pictureNames(count);
    files.append(QString());
    state.sImageFiles = files;
    state.sWidth = QString::number(kBox.width());
    state.sHeight = QString::number(kBox.height());
    state.sColumns = u"5"_s;
    state.bBorder = true;
    state.sThickness = u"2"_s;
    state.sForeColor = u"#000000"_s;
    state.sBackColor = u"#FFFFFF"_s;
    state.sFileName = kPageName;
    state.bThumbnails = true;
    state.bPicturePages = pages;
    return state;
}

int runJobChild(const QString& folder, int count, bool cold, bool pages)
{
    if (cold)
        QDir(folder + u'/' + vignetta::thumbnailFolderName(kPageName)).removeRecursively();
    vignetta::PublishJob job({benchState(count, pages), folder});
    QSignalSpy finished(&job, &vignetta::PublishJob::finished);
    QElapsedTimer timer;
    timer.start();
    job.start();
    if (!finished.wait(3600 * 1000))
        fail(u"the job did not finish"_s);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const vignetta::PublishResult& result = job.result();
    if (!result.complete())
        fail(u"the job failed: "_s + result.error + result.page.error);
    std::printf("%.3f %d %d %d %.1f\n", seconds, result.made, result.reused, result.failed,
                peakResidentMiB());
    return 0;
}

struct JobRun
{
    double seconds = 0;
    int made = 0;
    int reused = 0;
    double peakMiB = 0;
    double cpuSeconds = 0;
};

JobRun runJob(const QString& folder, int count, bool cold, bool pages)
{
    const double cpuBefore = childrenCpuSeconds();
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {u"--job"_s, folder, QString::number(count), cold ? u"cold"_s : u"warm"_s,
                 pages ? u"pages"_s : u"thumbnails"_s});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        fail(u"the job's child process failed"_s);
    const QList<QByteArray> words = child.readAllStandardOutput().simplified().split(' ');
    if (words.size() != 5)
        fail(u"the job's child process said nothing readable"_s);
    return {words[0].toDouble(), words[1].toInt(), words[2].toInt(), words[4].toDouble(),
            childrenCpuSeconds() - cpuBefore};
}

// ---- The floor: vipsthumbnail, one process per thread -------------------------------------

struct Timing
{
    double seconds = 1e9;
    double cpuSeconds = 1e9;
};

Timing runVips(const QString& folder, int count, int processes, int concurrency, const QString& out,
               QSize size = kBox * 2)
{
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    const QStringList names = pictureNames(count);
    std::vector<std::unique_ptr<QProcess>> children;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"VIPS_CONCURRENCY"_s, QString::number(concurrency));
    const double cpuBefore = childrenCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    for (int p = 0; p < processes; ++p) {
        QStringList arguments{u"--size"_s, u"%1x%2"_s.arg(size.width()).arg(size.height()), u"-o"_s,
                              out + u"/%s.jpg[Q=85]"_s};
        for (int i = p; i < count; i += processes)
            arguments.append(folder + u'/' + names[i]);
        auto child = std::make_unique<QProcess>();
        child->setProcessEnvironment(environment);
        child->setProcessChannelMode(QProcess::ForwardedChannels);
        child->start(u"vipsthumbnail"_s, arguments);
        if (!child->waitForStarted())
            fail(
                u"vipsthumbnail did not start: install libvips-tools (bench/thumbnails.sh does)"_s);
        children.push_back(std::move(child));
    }
    for (auto& child : children) {
        if (!child->waitForFinished(-1) || child->exitCode() != 0)
            fail(u"vipsthumbnail failed"_s);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (QDir(out).entryList(QDir::Files).size() != count)
        fail(u"vipsthumbnail did not write every thumbnail"_s);
    return {seconds, childrenCpuSeconds() - cpuBefore};
}

// ---- One core decoding at full size -------------------------------------------------------

double decodeFullSize(const QString& folder, int count)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        QImageReader reader(folder + u'/' + pictureName(i));
        if (reader.read().isNull())
            fail(u"cannot decode "_s + pictureName(i));
    }
    return timer.nsecsElapsed() / 1e9;
}

// ---- The encodings a thumbnail could be written in -----------------------------------------

struct Encoding
{
    const char* name;
    bool optimized;
    bool progressive;
};

void encodingTable(const QString& folder, int count)
{
    // Thumbnails as the job makes them, of the first pictures.
    std::vector<QImage> thumbnails;
    const std::atomic_bool cancel{false};
    for (int i = 0; i < std::min(count, 20); ++i) {
        QString problem;
        thumbnails.push_back(vignetta::readThumbnail(
            QFile::encodeName(folder + u'/' + pictureName(i)), kBox, cancel, &problem));
        if (thumbnails.back().isNull())
            fail(problem);
    }
    const Encoding encodings[] = {{"baseline", false, false},
                                  {"baseline, optimized Huffman tables", true, false},
                                  {"progressive", true, true}};
    constexpr int kReps = 20;
    std::printf(
        "\n### Encoding a %dx%d thumbnail as JPEG, quality 85 (mean of %zu thumbnails x %d)\n\n",
        thumbnails.front().width(), thumbnails.front().height(), thumbnails.size(), kReps);
    std::printf("| encoding | bytes | encode ms | decode ms |\n|---|---:|---:|---:|\n");
    for (const Encoding& encoding : encodings) {
        qint64 bytes = 0;
        qint64 encodeNs = 0;
        qint64 decodeNs = 0;
        for (const QImage& thumbnail : thumbnails) {
            for (int r = 0; r < kReps; ++r) {
                QByteArray data;
                QBuffer buffer(&data);
                buffer.open(QIODevice::WriteOnly);
                QImageWriter writer(&buffer, "jpeg");
                writer.setQuality(85);
                writer.setOptimizedWrite(encoding.optimized);
                writer.setProgressiveScanWrite(encoding.progressive);
                QElapsedTimer timer;
                timer.start();
                if (!writer.write(thumbnail))
                    fail(u"cannot encode"_s);
                encodeNs += timer.nsecsElapsed();
                buffer.close();
                bytes += data.size();
                timer.restart();
                if (QImage::fromData(data, "jpeg").isNull())
                    fail(u"cannot decode"_s);
                decodeNs += timer.nsecsElapsed();
            }
        }
        const double n = double(thumbnails.size()) * kReps;
        std::printf("| %s | %.0f | %.2f | %.2f |\n", encoding.name, double(bytes) / n,
                    double(encodeNs) / n / 1e6, double(decodeNs) / n / 1e6);
    }
}

int runBench(const QString& folder, int count, int repeats)
{
    drawMissingPictures(folder, count);
    qint64 totalBytes = 0;
    for (int i = 0; i < count; ++i)
        totalBytes += QFileInfo(folder + u'/' + pictureName(i)).size();
    const int threads = QThread::idealThreadCount();
    std::printf("## Thumbnails of %d JPEGs of %dx%d (%.1f MB each on average), box %dx%d, "
                "%d threads, best of %d runs\n\nLoad average before: %s\n\n",
                count, kPictureSize.width(), kPictureSize.height(),
                double(totalBytes) / count / 1e6, kBox.width(), kBox.height(), threads, repeats,
                qPrintable(loadAverage()));

    // Read once untimed, so every run below finds the files in the page cache alike.
    (void)decodeFullSize(folder, std::min(count, 2));
    for (int i = 0; i < count; ++i) {
        QFile file(folder + u'/' + pictureName(i));
        if (file.open(QIODevice::ReadOnly))
            file.readAll();
    }

    // Each contender runs `repeats` times, in turn, and keeps its best clock time and its
    // least processor time: on a machine shared with other work, the least disturbed runs.
    QTemporaryDir scratch;
    const auto keepBest = [](Timing& best, Timing run) {
        best = {std::min(best.seconds, run.seconds), std::min(best.cpuSeconds, run.cpuSeconds)};
    };
    const auto both = [](Timing a, Timing b) {
        return Timing{a.seconds + b.seconds, a.cpuSeconds + b.cpuSeconds};
    };
    const double full = decodeFullSize(folder, count);
    for (const bool pages : {false, true}) {
        Timing cold;
        Timing warm;
        Timing vipsProcesses;
        Timing vipsOne;
        double coldPeak = 0;
        double warmPeak = 0;
        for (int r = 0; r < repeats; ++r) {
            const JobRun coldRun = runJob(folder, count, true, pages);
            const JobRun warmRun = runJob(folder, count, false, pages);
            if (coldRun.made != count || warmRun.reused != count)
                fail(u"the cold run did not make every picture, or the warm run did not reuse "
                     u"them"_s);
            keepBest(cold, {coldRun.seconds, coldRun.cpuSeconds});
            keepBest(warm, {warmRun.seconds, warmRun.cpuSeconds});
            coldPeak = std::max(coldPeak, coldRun.peakMiB);
            warmPeak = std::max(warmPeak, warmRun.peakMiB);
            // The floor makes the same sizes: the thumbnails, and with picture pages the copies.
            const QSize copy(vignetta::kCopyLongEdge, vignetta::kCopyLongEdge);
            const auto vips = [&](int processes, int concurrency, const QString& out) {
                const Timing thumbnails = runVips(folder, count, processes, concurrency, out);
                return pages ? both(thumbnails, runVips(folder, count, processes, concurrency,
                                                        out + u"-copies"_s, copy))
                             : thumbnails;
            };
            keepBest(vipsProcesses, vips(threads, 1, scratch.path() + u"/vips"_s));
            keepBest(vipsOne, vips(1, threads, scratch.path() + u"/vips1"_s));
        }
        const double floor = std::min(vipsProcesses.seconds, vipsOne.seconds);
        const double cpuFloor = std::min(vipsProcesses.cpuSeconds, vipsOne.cpuSeconds);

        std::printf("\n### %s\n\n", pages ? "Thumbnails and screen-size copies (picture pages)"
                                          : "Thumbnails alone");
        std::printf("| run | seconds | per image ms | x vipsthumbnail | CPU seconds | x "
                    "vipsthumbnail | peak RSS MiB |\n|---|---:|---:|---:|---:|---:|---:|\n");
        const auto line = [&](const QString& what, Timing timing, double peak) {
            const QString cpu = timing.cpuSeconds < 1e9
                                    ? u"%1 | %2"_s.arg(timing.cpuSeconds, 0, 'f', 2)
                                          .arg(timing.cpuSeconds / cpuFloor, 0, 'f', 2)
                                    : u" | "_s;
            std::printf("| %s | %.2f | %.1f | %.2f | %s | %s |\n", qPrintable(what), timing.seconds,
                        timing.seconds * 1000 / count, timing.seconds / floor, qPrintable(cpu),
                        peak > 0 ? qPrintable(QString::number(peak, 'f', 1)) : "");
        };
        line(u"Vignetta, cold (everything made)"_s, cold, coldPeak);
        line(u"Vignetta, warm (everything reused)"_s, warm, warmPeak);
        const QString sizes = pages ? u", both sizes"_s : QString();
        line(u"vipsthumbnail, %1 processes, VIPS_CONCURRENCY=1%2"_s.arg(threads).arg(sizes),
             vipsProcesses, -1);
        line(u"vipsthumbnail, 1 process, VIPS_CONCURRENCY=%1%2"_s.arg(threads).arg(sizes), vipsOne,
             -1);
        line(u"QImageReader at full size, one core (one run)"_s, {full, 1e9}, -1);
    }
    std::printf("\nLoad average after: %s\n", qPrintable(loadAverage()));

    // What a visitor looking at the first 20 photos downloads, against their originals: the
    // index's thumbnails of them, and for each its picture page and copy.
    const int looked = std::min(count, 20);
    const QString made = folder + u'/' + vignetta::thumbnailFolderName(kPageName);
    qint64 originals = 0;
    qint64 fetched = QFileInfo(folder + u'/' + kPageName).size();
    const QStringList files = QDir(made).entryList(QDir::Files);
    for (int i = 0; i < looked; ++i) {
        originals += QFileInfo(folder + u'/' + pictureName(i)).size();
        const QString stem = u"img_%1-"_s.arg(i, 4, 10, QChar(u'0'));
        for (const QString& file : files) {
            if (file.startsWith(stem))
                fetched += QFileInfo(made + u'/' + file).size();
        }
    }
    std::printf("\n### A visitor looking at %d photos\n\n| downloads | bytes | share of the "
                "originals |\n|---|---:|---:|\n| the originals | %lld | 100 %% |\n| the "
                "index, thumbnails, picture pages and copies | %lld | %.1f %% |\n",
                looked, static_cast<long long>(originals), static_cast<long long>(fetched),
                100.0 * double(fetched) / double(originals));

    encodingTable(folder, count);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 6 && arguments[1] == u"--job")
        return runJobChild(arguments[2], arguments[3].toInt(), arguments[4] == u"cold",
                           arguments[5] == u"pages");

    QString folder;
    int count = 300;
    int repeats = 3;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == u"--pictures")
            folder = arguments[i + 1];
        else if (arguments[i] == u"--count")
            count = arguments[i + 1].toInt();
        else if (arguments[i] == u"--repeat")
            repeats = arguments[i + 1].toInt();
        else
            fail(u"unknown argument "_s + arguments[i]);
    }
    if (folder.isEmpty() || count < 1 || repeats < 1)
        fail(u"usage: thumbnail_bench --pictures DIR [--count N] [--repeat N]"_s);
    return runBench(QDir(folder).absolutePath(), count, repeats);
}
