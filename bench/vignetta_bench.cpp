// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times what a user waits for in the wizard, on folders of 1,000 to 1,000,000 images, each row
// beside its own floor measured in the same run:
//
// - a user action, from the click to the painted, idle window (every event processed, the
//   paint done): opening the folder in Dir1, Next on Step 1, the four moves of Step 2, Next on
//   Step 2 and Finish;
// - its floor: the least work the action stands for, done with plain C++ on the same names:
//   readdir + extension filter + sort for the folder, copying and merging the names in plain
//   vectors for the fill and the moves, fwrite + fdatasync + rename of the page's bytes for
//   Finish;
// - peak resident memory per image name over one pass, beside the names' own bytes;
// - a cold folder open (page cache dropped first, where allowed) beside a cold readdir;
// - start-up to the first frame, beside a minimal Qt Widgets window built in this program: runs
//   in pairs, each going first in turn, the ratio being the median of the pairs' ratios. In the
//   empty folder, also beside the same minimal window at the wizard's size, which tells the
//   cost of the window's area from that of its contents.
//
// Every folder size runs in a fresh process, and every repetition on a fresh window, so no pass
// pays for what an earlier one left behind. Prints one Markdown table of medians and ratios.
//
//   build/default/bench/vignetta_bench [--folders DIR] [--sizes 1000,10000] [--reps N]
//                                      [--no-cold] [--no-startup] [--no-actions]
//
// --folders keeps the generated folders in DIR and reuses them on the next run (making the
// 2,000,000 files of the two largest folders takes minutes). Without it they go to a temporary
// folder removed at the end. The program runs itself with --actions or --startup-child for the
// measurements of one process.

#include "appearance/step3_panel.h"
#include "core/wizard_state.h"
#include "output/page_saver.h"
#include "output/page_writer.h"
#include "selection/dir_list.h"
#include "selection/name_list_view.h"
#include "selection/step1_panel.h"
#include "selection/step2_panel.h"
#include "ui/prompts.h"
#include "ui/ui_kit.h"
#include "wizard/form_vg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using vignetta::formVG;
using vignetta::NameListView;
using vignetta::Step1Panel;
using vignetta::Step2Panel;

// ---- Small helpers -------------------------------------------------------------------------

// Records every message box instead of showing it; the bench checks that none came up.
class SilentPrompts final : public vignetta::Prompts
{
public:
    void showMessage(QWidget* /*parent*/, const vignetta::MessageRequest& request) override
    {
        messages.append(request);
    }
    std::optional<QColor> chooseColor(QWidget* /*parent*/, const QColor& /*initial*/,
                                      const QString& /*title*/) override
    {
        return std::nullopt;
    }
    std::unique_ptr<vignetta::ProgressPrompt>
    showProgress(QWidget* /*parent*/, vignetta::ProgressRequest /*request*/) override
    {
        return std::make_unique<NoProgress>();
    }
    void openUrl(const QUrl& /*url*/, OpenFailed /*failed*/) override {}

    QList<vignetta::MessageRequest> messages;

private:
    class NoProgress final : public vignetta::ProgressPrompt
    {
    public:
        void setProgress(int /*done*/, int /*toDo*/, const QString& /*text*/) override {}
    };
};

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "vignetta_bench: %s\n", qPrintable(what));
    std::exit(1);
}

void require(bool condition, const char* what)
{
    if (!condition)
        fail(QString::fromUtf8(what));
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

std::size_t g_sink = 0; // keeps the floors' work from being optimised away

QString loadAverage()
{
    QFile file(u"/proc/loadavg"_s);
    if (!file.open(QIODevice::ReadOnly))
        return u"unknown"_s;
    return QString::fromLatin1(file.readAll().trimmed()).section(u' ', 0, 2);
}

// A field of /proc/self/status, in bytes.
qint64 statusBytes(const char* field)
{
    QFile file(u"/proc/self/status"_s);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

// Starts a new peak of the resident memory (VmHWM) from the current resident size.
void resetPeakMemory()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd < 0)
        return;
    static_cast<void>(::write(fd, "5", 1));
    ::close(fd);
}

// Drops the page cache, dentries and inodes, where this process may.
bool dropCaches()
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, "3", 1) == 1;
    ::close(fd);
    return ok;
}

// ---- The folders -------------------------------------------------------------------------

void touch(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    require(fd >= 0, "cannot create a file in the benchmark's folder");
    ::close(fd);
}

// The name of the i-th image: mostly as cameras name them, in the extensions the file list
// shows and in mixed case; some as people rename them, with blanks.
void imageName(int i, char (&name)[64])
{
    const char* ext = (i % 10 == 3)   ? ".JPG"
                      : (i % 25 == 7) ? ".gif"
                      : (i % 40 == 9) ? ".bmp"
                                      : ".jpg";
    if (i % 20 == 13)
        std::snprintf(name, sizeof name, "IMG_%06d copy%s", i, ext);
    else if (i % 50 == 22)
        std::snprintf(name, sizeof name, "Beach day %06d%s", i, ext);
    else
        std::snprintf(name, sizeof name, "%s%06d%s", (i % 5 == 4) ? "DSC" : "IMG_", i, ext);
}

// One benchmark folder: `images` image files among `files` files, a few subdirectories.
struct FolderPlan
{
    int images = 0;
    int files = 0;

    [[nodiscard]] QString key() const
    {
        return files == images ? QString::number(images)
                               : QString::number(images) + u"-of-"_s + QString::number(files);
    }
    [[nodiscard]] QString label() const
    {
        return files == images ? QString::number(images)
                               : QString::number(images) + u" of "_s + QString::number(files);
    }
};

// Makes <set>/photos with the images and the other files, and <set>/small with three images,
// unless an earlier run left them complete.
void makeFolderSet(const QString& set, const FolderPlan& plan)
{
    const QString marker = set + u"/.complete"_s;
    if (QFileInfo::exists(marker))
        return;
    require(QDir(set).removeRecursively() || !QFileInfo::exists(set), "cannot clear a folder");
    require(QDir().mkpath(set + u"/photos"_s) && QDir().mkpath(set + u"/small"_s),
            "cannot make the benchmark's folders");
    std::fprintf(stderr, "making %s files (%d images)...\n", qPrintable(plan.label()), plan.images);
    const std::string photos = QFile::encodeName(set).toStdString() + "/photos/";
    const std::string small = QFile::encodeName(set).toStdString() + "/small/";
    char name[64];
    // The images spread evenly among the other files.
    const int others = plan.files - plan.images;
    int image = 0;
    for (int i = 0; i < plan.files; ++i) {
        const bool isImage =
            static_cast<long long>(image) * plan.files <= static_cast<long long>(i) * plan.images;
        if (isImage && image < plan.images) {
            imageName(image++, name);
        } else {
            const int other = i - image;
            std::snprintf(name, sizeof name,
                          (other % 3 == 0)   ? "notes_%07d.txt"
                          : (other % 3 == 1) ? "scan_%07d.png"
                                             : "IMG_%07d.jpg.xmp",
                          other);
        }
        touch(photos + name);
    }
    require(image == plan.images && others >= 0, "the folder did not come out as planned");
    touch(photos + ".hidden.jpg");
    for (const char* dir : {"originals", "edited", "2023-07 Holiday", "raw", ".thumbnails"})
        require(::mkdir((photos + dir).c_str(), 0755) == 0, "cannot create a subdirectory");
    for (int i = 0; i < 3; ++i) {
        imageName(i, name);
        touch(small + name);
    }
    touch(QFile::encodeName(marker).toStdString());
}

// ---- The floors --------------------------------------------------------------------------

bool hasImageExtension(const char* name, std::size_t length)
{
    if (length < 4)
        return false;
    const char* ext = name + length - 4;
    return ::strcasecmp(ext, ".jpg") == 0 || ::strcasecmp(ext, ".gif") == 0 ||
           ::strcasecmp(ext, ".bmp") == 0;
}

// The least a folder open costs: readdir, the extension filter, a sort.
std::vector<std::string> listImages(const QByteArray& path)
{
    DIR* dir = ::opendir(path.constData());
    require(dir != nullptr, "floor: opendir failed");
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN))
            continue;
        const std::size_t length = std::strlen(entry->d_name);
        if (hasImageExtension(entry->d_name, length))
            names.emplace_back(entry->d_name, length);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

using Names = std::vector<std::string>;

// The median of three runs of the floor's work.
double timeFloor(const std::function<void()>& work)
{
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        runs.push_back(msSince(start));
    }
    return median(runs);
}

// Merges sorted `incoming` into sorted `to`, as copies into a new vector.
Names merged(const Names& to, const Names& incoming)
{
    Names out;
    out.reserve(to.size() + incoming.size());
    std::merge(to.begin(), to.end(), incoming.begin(), incoming.end(), std::back_inserter(out),
               [](const std::string& a, const std::string& b) {
                   return ::strcasecmp(a.c_str(), b.c_str()) < 0;
               });
    return out;
}

// Splits `from` by every other flag and merges the taken half into `to`.
void splitAndMerge(const Names& from, const Names& to)
{
    Names staying;
    Names moving;
    staying.reserve(from.size());
    moving.reserve(from.size());
    for (std::size_t i = 0; i < from.size(); ++i)
        (i % 2 == 0 ? moving : staying).push_back(from[i]);
    const Names target = merged(to, moving);
    g_sink += target.size() + staying.size();
}

void writeSynced(const std::string& path, const QByteArray& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "floor: fopen failed");
    const auto size = static_cast<std::size_t>(bytes.size());
    bool ok = std::fwrite(bytes.constData(), 1, size, file) == size;
    ok = ok && std::fflush(file) == 0 && ::fdatasync(::fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    require(ok, "floor: writing failed");
}

// ---- One process: the user actions on one folder size ----------------------------------------

// Counts the events delivered anywhere in the program: a pass of the event loop that delivers
// none means the window is idle.
class EventCounter final : public QObject
{
public:
    bool eventFilter(QObject* /*watched*/, QEvent* /*event*/) override
    {
        ++count;
        return false;
    }
    qint64 count = 0;
};

// The longest time the event loop went without turning, measured by a timer that asks to
// fire every millisecond.
class StallMeter final : public QObject
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    }
    void start()
    {
        m_longest = 0;
        m_last = std::chrono::steady_clock::now();
        m_timer.start(1);
    }
    // The longest stall since start(), the time up to now included.
    double stop()
    {
        tick();
        m_timer.stop();
        return m_longest;
    }

private:
    void tick()
    {
        const auto now = std::chrono::steady_clock::now();
        m_longest =
            std::max(m_longest, std::chrono::duration<double, std::milli>(now - m_last).count());
        m_last = now;
    }
    QTimer m_timer;
    std::chrono::steady_clock::time_point m_last;
    double m_longest = 0;
};

std::vector<bool> everyOther(qsizetype count)
{
    std::vector<bool> rows(static_cast<std::size_t>(count), false);
    for (std::size_t i = 0; i < rows.size(); i += 2)
        rows[i] = true;
    return rows;
}

struct Samples
{
    std::vector<double> action;
    std::vector<double> floor;
};

class ActionBench
{
public:
    ActionBench(QString set, int images, int reps)
        : m_set(std::move(set)), m_photos(m_set + u"/photos"_s), m_n(images), m_reps(reps)
    {
        QCoreApplication::instance()->installEventFilter(&m_events);
        m_timeout.setSingleShot(true);
    }

    void run(bool cold)
    {
        for (int r = 0; r < m_reps; ++r)
            pass(r == 0);
        if (cold)
            coldOpens();
        require(m_prompts.messages.isEmpty(), "the wizard showed a message during the bench");
    }

    void print() const
    {
        const auto row = [](const char* label, const Samples& s, const char* floor) {
            std::printf("ROW\t%s\t%.3f\t%s\t%.3f\tms\n", label, median(s.action), floor,
                        median(s.floor));
        };
        row("open folder in Dir1", m_open, "readdir + filter + sort");
        if (!m_coldOpen.action.empty())
            row("open folder in Dir1, cold cache", m_coldOpen, "cold readdir + filter + sort");
        row("Next on Step 1 (fills Unselected)", m_next1, "copy the names");
        row("All -->", m_allRight, "merge the names");
        row("<-- All", m_allLeft, "merge the names");
        row("Add --> (every other highlighted)", m_add, "split + merge");
        row("<-- Remove (every other highlighted)", m_remove, "split + merge");
        row("Next on Step 2 (all selected)", m_next2, "copy the names");
        row("Finish", m_finish, "fwrite + fdatasync + rename");
        std::printf("STALL\topen\t%.3f\n", m_openStall);
        std::printf("STALL\tany\t%.3f\n", m_longestStall);
        std::printf("MEM\tpeak\t%.1f\t%.1f\n", m_peakPerImage, m_ownBytes);
        std::printf("MEM\tkept\t%.1f\t%.1f\n", m_keptPerImage, m_ownBytes);
        std::printf("MEM\tfinish\t%.1f\t%.1f\n", m_finishPerImage, m_pageBytesPerImage);
    }

private:
    template <class T>
    T* find(const QString& name) const
    {
        T* found = m_form->findChild<T*>(name);
        require(found != nullptr, "no control of that name");
        return found;
    }
    QPushButton* wizardButton(int index) const
    {
        return find<QPushButton>(vignetta::memberName(u"cmdButtons", index));
    }
    QPushButton* moveButton(int index) const
    {
        return find<QPushButton>(vignetta::memberName(u"cmdStep2", index));
    }
    Step1Panel* step1() const { return m_form->findChild<Step1Panel*>(); }
    Step2Panel* step2() const { return m_form->findChild<Step2Panel*>(); }
    NameListView* list(const QString& name) const { return find<NameListView>(name); }
    int step() const { return m_form->state().iStep; }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Runs the event loop until `done` holds and a whole pass of it delivers no event: what the
    // action started is finished, laid out and painted.
    void waitIdle(const std::function<bool()>& done)
    {
        m_timeout.start(120000);
        for (;;) {
            require(m_timeout.isActive(), "the window did not settle within two minutes");
            if (!done()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents |
                                                QEventLoop::WaitForMoreEvents);
                continue;
            }
            const qint64 before = m_events.count;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (m_events.count == before && done())
                break;
        }
        m_timeout.stop();
    }
    void settle()
    {
        waitIdle([] { return true; });
    }

    // Times one action from its start to the painted, idle window, and notes the longest
    // stall of the event loop meanwhile.
    double timed(const std::function<void()>& action, const std::function<bool()>& done)
    {
        m_stalls.start();
        const auto start = std::chrono::steady_clock::now();
        action();
        waitIdle(done);
        const double ms = msSince(start);
        m_lastStall = m_stalls.stop();
        m_longestStall = std::max(m_longestStall, m_lastStall);
        if (!qEnvironmentVariableIsEmpty("VIGNETTA_BENCH_TRACE"))
            std::fprintf(stderr, "  action %.1f ms, longest stall %.1f ms\n", ms, m_lastStall);
        return ms;
    }

    void newWindow()
    {
        m_form = std::make_unique<formVG>(QDir::currentPath(), &m_prompts);
        m_form->show();
        require(QTest::qWaitForWindowExposed(m_form.get()), "the window was not exposed");
        require(QTest::qWaitFor([this] { return m_form->isComplete(); }),
                "the window was not completed");
        settle();
        require(step1()->openDirectory(m_set), "cannot open the folder set");
        settle();
    }
    void closeWindow()
    {
        m_form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        ::malloc_trim(0); // the next pass starts from what is really in use
    }

    int photosRow() const
    {
        const auto& rows = find<vignetta::DirList>(u"Dir1"_s)->rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].name == u"photos")
                return static_cast<int>(i);
        }
        fail(u"no photos row in Dir1"_s);
    }

    double openPhotos()
    {
        const int row = photosRow();
        return timed(
            [&] { find<vignetta::DirList>(u"Dir1"_s)->openRow(row); },
            [&] { return step1()->filePath() == m_photos && step1()->fileCount() == m_n; });
    }

    // With VIGNETTA_BENCH_TRACE set, the memory after each step of the first pass, per image.
    void trace(bool first, const char* where, qint64 rss0) const
    {
        if (!first || qEnvironmentVariableIsEmpty("VIGNETTA_BENCH_TRACE"))
            return;
        std::fprintf(stderr, "  %-28s resident %7.1f B/image, peak %7.1f B/image\n", where,
                     double(statusBytes("VmRSS") - rss0) / m_n,
                     double(statusBytes("VmHWM") - rss0) / m_n);
    }

    void pass(bool first)
    {
        newWindow();
        const QByteArray photos = QFile::encodeName(m_photos);
        const qint64 rss0 = statusBytes("VmRSS");
        if (first)
            resetPeakMemory();

        m_open.action.push_back(openPhotos());
        m_openStall = std::max(m_openStall, m_lastStall);
        if (first)
            m_keptPerImage = double(statusBytes("VmRSS") - rss0) / m_n;
        trace(first, "open", rss0);
        // The floors run in the passes after the first, which measures the memory alone.
        const bool floors = !first;
        Names names;
        if (floors) {
            m_open.floor.push_back(timeFloor([&] { names = listImages(photos); }));
            require(names.size() == static_cast<std::size_t>(m_n), "the floor found another count");
        }
        if (floors && m_ownBytes == 0) {
            qint64 own = 0;
            for (const std::string& name : names)
                own += static_cast<qint64>(name.size()) + 1;
            m_ownBytes = double(own) / m_n;
        }

        const auto unselected = [&] { return list(u"lstUnselected"_s)->count(); };
        const qsizetype n = m_n;
        const qsizetype half = (n + 1) / 2;
        m_next1.action.push_back(timed([&] { click(wizardButton(formVG::kNext)); },
                                       [&] { return step() == 1 && unselected() == n; }));
        trace(first, "Next on Step 1", rss0);
        if (floors)
            m_next1.floor.push_back(timeFloor([&] { g_sink += Names(names).size(); }));

        m_allRight.action.push_back(timed([&] { click(moveButton(Step2Panel::kAllRight)); },
                                          [&] { return step2()->selectedCount() == n; }));
        if (floors)
            m_allRight.floor.push_back(timeFloor([&] { g_sink += merged({}, names).size(); }));
        m_allLeft.action.push_back(
            timed([&] { click(moveButton(Step2Panel::kAllLeft)); },
                  [&] { return unselected() == n && step2()->selectedCount() == 0; }));
        if (floors)
            m_allLeft.floor.push_back(timeFloor([&] { g_sink += merged({}, names).size(); }));

        trace(first, "All --> and back", rss0);
        list(u"lstUnselected"_s)->setHighlighted(everyOther(n));
        settle();
        trace(first, "every other highlighted", rss0);
        m_add.action.push_back(timed([&] { click(moveButton(Step2Panel::kAddRight)); },
                                     [&] { return step2()->selectedCount() == half; }));
        if (floors)
            m_add.floor.push_back(timeFloor([&] { splitAndMerge(names, {}); }));

        click(moveButton(Step2Panel::kAllRight));
        waitIdle([&] { return step2()->selectedCount() == n; });
        list(u"lstSelected"_s)->setHighlighted(everyOther(n));
        settle();
        m_remove.action.push_back(timed([&] { click(moveButton(Step2Panel::kRemoveLeft)); },
                                        [&] { return step2()->selectedCount() == n - half; }));
        if (floors) {
            Names left;
            for (std::size_t i = 1; i < names.size(); i += 2)
                left.push_back(names[i]);
            m_remove.floor.push_back(timeFloor([&] { splitAndMerge(names, left); }));
        }

        click(moveButton(Step2Panel::kAllRight));
        waitIdle([&] { return step2()->selectedCount() == n; });
        m_next2.action.push_back(
            timed([&] { click(wizardButton(formVG::kNext)); },
                  [&] { return step() == 2 && m_form->state().imageCount() == n; }));
        if (floors)
            m_next2.floor.push_back(timeFloor([&] { g_sink += Names(names).size(); }));
        trace(first, "Next on Step 2", rss0);
        if (first)
            m_peakPerImage = double(statusBytes("VmHWM") - rss0) / m_n;

        find<QLineEdit>(u"txtColumns"_s)->setText(u"4"_s);
        click(wizardButton(formVG::kNext));
        waitIdle([&] { return step() == 3; });
        const QString page = m_photos + u"/Vignetta.html"_s;
        QFile::remove(page);
        m_finish.action.push_back(timed([&] { click(wizardButton(formVG::kFinish)); },
                                        [&] { return step() == 4 && QFileInfo::exists(page); }));
        if (first)
            m_finishPerImage = double(statusBytes("VmHWM") - rss0) / m_n;
        QFile written(page);
        require(written.open(QIODevice::ReadOnly), "Finish wrote no page");
        const QByteArray bytes = written.readAll();
        written.close();
        if (first)
            m_pageBytesPerImage = double(bytes.size()) / m_n;
        const std::string floorPath = photos.toStdString() + "/floor-page.html";
        if (floors)
            m_finish.floor.push_back(timeFloor([&] {
                writeSynced(floorPath + ".new", bytes);
                require(::rename((floorPath + ".new").c_str(), floorPath.c_str()) == 0,
                        "floor: rename failed");
            }));
        ::unlink(floorPath.c_str());
        QFile::remove(page);
        closeWindow();
    }

    void coldOpens()
    {
        const QByteArray photos = QFile::encodeName(m_photos);
        for (int r = 0; r < 3; ++r) {
            newWindow();
            if (!dropCaches()) {
                closeWindow();
                return;
            }
            m_coldOpen.action.push_back(openPhotos());
            closeWindow();
            require(dropCaches(), "cannot drop the caches a second time");
            // Once only: a second run would find the cache warm.
            const auto start = std::chrono::steady_clock::now();
            g_sink += listImages(photos).size();
            m_coldOpen.floor.push_back(msSince(start));
        }
    }

    QString m_set;
    QString m_photos;
    int m_n;
    int m_reps;
    SilentPrompts m_prompts;
    EventCounter m_events;
    QTimer m_timeout;
    StallMeter m_stalls;
    double m_lastStall = 0;
    double m_openStall = 0;
    double m_longestStall = 0;
    std::unique_ptr<formVG> m_form;

    Samples m_open, m_coldOpen, m_next1, m_allRight, m_allLeft, m_add, m_remove, m_next2, m_finish;
    double m_peakPerImage = 0, m_keptPerImage = 0, m_finishPerImage = 0, m_ownBytes = 0,
           m_pageBytesPerImage = 0;
};

int runActions(int argc, char* argv[], const QString& set, int images, int reps, bool cold)
{
    QApplication app(argc, argv);
    QTemporaryDir empty;
    require(empty.isValid() && QDir::setCurrent(empty.path()), "cannot enter an empty folder");
    ActionBench bench(set, images, reps);
    bench.run(cold);
    bench.print();
    std::fflush(stdout);
    return g_sink == 0 ? 1 : 0;
}

// ---- Start-up ------------------------------------------------------------------------------

// Notes the first frame: the first paint of the window, once that paint pass has finished.
class FirstFrame final : public QObject
{
public:
    explicit FirstFrame(QWidget* window) : m_window(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && watched == m_window && event->type() == QEvent::Paint) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("frame %lld %dx%d\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                            m_window->width(), m_window->height());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

// kind: "wizard", "minimal", or the minimal window at a given size, "WIDTHxHEIGHT".
int runStartupChild(int argc, char* argv[], const QString& kind)
{
    QApplication app(argc, argv);
    SilentPrompts prompts;
    std::unique_ptr<QWidget> window;
    if (kind == u"wizard") {
        window = std::make_unique<formVG>(QDir::currentPath(), &prompts);
    } else {
        window = std::make_unique<QWidget>();
        const QStringList size = kind.split(u'x');
        window->resize(size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize(200, 80));
        auto* button = new QPushButton(u"OK"_s, window.get());
        button->move(60, 25);
    }
    FirstFrame frame(window.get());
    window->installEventFilter(&frame);
    window->show();
    return QApplication::exec();
}

struct Launch
{
    double ms = 0; // from starting the child to its first frame
    QString size;  // of its window, "WIDTHxHEIGHT"
};

// From starting the child to its first frame, on the one monotonic clock both processes read.
Launch launchOnce(const QString& kind, const QString& workingDirectory)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({u"--startup-child"_s, kind});
    child.setWorkingDirectory(workingDirectory);
    child.setStandardErrorFile(QProcess::nullDevice());
    const auto start = std::chrono::steady_clock::now();
    child.start();
    require(child.waitForFinished(60000) && child.exitCode() == 0,
            "a start-up child did not end cleanly");
    const QByteArray out = child.readAllStandardOutput();
    const qsizetype at = out.indexOf("frame ");
    require(at >= 0, "a start-up child showed no frame");
    const QList<QByteArray> fields = out.mid(at + 6).trimmed().split(' ');
    require(fields.size() == 2, "a start-up child told its frame badly");
    const auto frame =
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(fields[0].toLongLong()));
    return {std::chrono::duration<double, std::milli>(frame - start).count(),
            QString::fromLatin1(fields[1])};
}

// ---- The table -----------------------------------------------------------------------------

struct TableRow
{
    QString size;
    QString what;
    double value = 0;
    QString unit;
    QString floor;
    double floorValue = 0;
    double pairedRatio = 0; // where set: the median of the ratios of runs made in pairs
};

void printTable(const std::vector<TableRow>& rows)
{
    std::printf("| images | what | median | floor | floor median | ratio |\n");
    std::printf("|---:|---|---:|---|---:|---:|\n");
    for (const TableRow& r : rows) {
        const double value = r.pairedRatio > 0  ? r.pairedRatio
                             : r.floorValue > 0 ? r.value / r.floorValue
                                                : 0;
        const QString ratio = value > 0 ? QString::asprintf("%.2fx", value) : u"-"_s;
        std::printf("| %s | %s | %.2f %s | %s | %.2f %s | %s |\n", qPrintable(r.size),
                    qPrintable(r.what), r.value, qPrintable(r.unit), qPrintable(r.floor),
                    r.floorValue, qPrintable(r.unit), qPrintable(ratio));
    }
}

std::vector<TableRow> runSize(const QString& set, const FolderPlan& plan, int reps, bool cold,
                              const QString& emptyDir)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({u"--actions"_s, set, QString::number(plan.images), QString::number(reps),
                        cold ? u"cold"_s : u"warm"_s});
    child.setWorkingDirectory(emptyDir);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start();
    require(child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit &&
                child.exitCode() == 0,
            "a folder's measurements failed");
    std::vector<TableRow> rows;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 6 && f[0] == "ROW") {
            rows.push_back({plan.label(), QString::fromUtf8(f[1]), f[2].toDouble(),
                            QString::fromUtf8(f[5]), QString::fromUtf8(f[3]), f[4].toDouble()});
        } else if (f.size() == 3 && f[0] == "STALL") {
            rows.push_back({plan.label(),
                            f[1] == "open" ? u"longest event-loop stall while opening the folder"_s
                                           : u"longest event-loop stall in any action"_s,
                            f[2].toDouble(), u"ms"_s, u"-"_s, 0});
        } else if (f.size() == 4 && f[0] == "MEM") {
            const double value = f[2].toDouble();
            const double own = f[3].toDouble();
            if (f[1] == "peak")
                rows.push_back({plan.label(), u"peak memory per image, open to Step 2 Next"_s,
                                value, u"B"_s, u"the names' own bytes"_s, own});
            else if (f[1] == "kept")
                rows.push_back({plan.label(), u"memory kept per image after the open"_s, value,
                                u"B"_s, u"the names' own bytes"_s, own});
            else
                rows.push_back({plan.label(), u"peak memory per image through Finish"_s, value,
                                u"B"_s, u"the page's bytes per image"_s, own});
        }
    }
    return rows;
}

int runBench(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString foldersDir;
    std::vector<FolderPlan> plans{{1000, 1000},     {10000, 10000},     {32767, 32767},
                                  {100000, 100000}, {1000000, 1000000}, {10000, 1000000}};
    int repsOverride = 0;
    bool cold = true;
    bool startup = true;
    bool actions = true;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--folders" && i + 1 < args.size()) {
            foldersDir = args[++i];
        } else if (args[i] == u"--sizes" && i + 1 < args.size()) {
            plans.clear();
            for (const QString& s : args[++i].split(u',')) {
                const QStringList parts = s.split(u"-of-"_s);
                const int images = parts[0].toInt();
                plans.push_back({images, parts.size() > 1 ? parts[1].toInt() : images});
            }
        } else if (args[i] == u"--reps" && i + 1 < args.size()) {
            repsOverride = args[++i].toInt();
        } else if (args[i] == u"--no-cold") {
            cold = false;
        } else if (args[i] == u"--no-startup") {
            startup = false;
        } else if (args[i] == u"--no-actions") {
            actions = false;
        } else {
            fail(u"unknown argument "_s + args[i]);
        }
    }
    QTemporaryDir temporary;
    QTemporaryDir empty;
    require(temporary.isValid() && empty.isValid(), "cannot make temporary folders");
    if (foldersDir.isEmpty())
        foldersDir = temporary.path();
    const QString loadBefore = loadAverage();

    std::vector<TableRow> rows;
    QString largestPhotos;
    for (const FolderPlan& plan : plans) {
        const QString set = QDir(foldersDir).absoluteFilePath(plan.key());
        makeFolderSet(set, plan);
        if (plan.files == plan.images && plan.images >= 1000000)
            largestPhotos = set + u"/photos"_s;
        // The first pass measures the memory, the others the floors too.
        const int reps = std::max(2, repsOverride > 0        ? repsOverride
                                     : plan.files >= 1000000 ? 4
                                                             : 7);
        if (!actions)
            continue;
        const bool coldHere = cold && plan.files >= 100000;
        std::fprintf(stderr, "timing %s images, %d repetitions%s...\n", qPrintable(plan.label()),
                     reps, coldHere ? " and cold opens" : "");
        const std::vector<TableRow> measured = runSize(set, plan, reps, coldHere, empty.path());
        rows.insert(rows.end(), measured.begin(), measured.end());
    }

    if (startup) {
        std::fprintf(stderr, "timing start-up...\n");
        std::vector<std::pair<QString, QString>> places{{u"an empty folder"_s, empty.path()}};
        if (!largestPhotos.isEmpty())
            places.emplace_back(u"a folder of 1000000 images"_s, largestPhotos);
        constexpr int kLaunches = 21;
        const QString wizardSize = launchOnce(u"wizard"_s, empty.path()).size;
        for (const auto& [label, dir] : places) {
            // The window at the wizard's size only in the empty folder: the folder changes
            // nothing for it.
            std::vector<QString> floors{u"minimal"_s};
            if (dir == empty.path())
                floors.push_back(wizardSize);
            for (const QString& floor : floors) {
                std::vector<double> wizard;
                std::vector<double> minimal;
                std::vector<double> ratios;
                for (int i = 0; i < kLaunches; ++i) {
                    // In pairs, each going first in turn, so that any drift of the machine
                    // touches both alike; the ratio is taken within each pair.
                    const bool wizardFirst = i % 2 == 0;
                    const double first = launchOnce(wizardFirst ? u"wizard"_s : floor, dir).ms;
                    const double second = launchOnce(wizardFirst ? floor : u"wizard"_s, dir).ms;
                    wizard.push_back(wizardFirst ? first : second);
                    minimal.push_back(wizardFirst ? second : first);
                    ratios.push_back(wizard.back() / minimal.back());
                }
                const QString what = floor == u"minimal"
                                         ? u"minimal Qt Widgets window"_s
                                         : u"the same at the wizard's size, "_s + floor;
                rows.push_back({u"-"_s, u"start-up to the first frame, in "_s + label,
                                median(wizard), u"ms"_s, what, median(minimal), median(ratios)});
            }
        }
    }

    std::printf("# Vignetta benchmark\n\n");
    std::printf("Qt %s, platform \"offscreen\", %ld CPU(s); load average %s before, %s after. "
                "Medians; user actions through the real window, from the click to the painted, "
                "idle window.\n\n",
                qVersion(), ::sysconf(_SC_NPROCESSORS_ONLN), qPrintable(loadBefore),
                qPrintable(loadAverage()));
    printTable(rows);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--startup-child") == 0 && i + 1 < argc)
            return runStartupChild(argc, argv, QString::fromLocal8Bit(argv[i + 1]));
        if (std::strcmp(argv[i], "--actions") == 0 && i + 4 < argc)
            return runActions(argc, argv, QString::fromLocal8Bit(argv[i + 1]),
                              std::atoi(argv[i + 2]), std::atoi(argv[i + 3]),
                              std::strcmp(argv[i + 4], "cold") == 0);
    }
    return runBench(argc, argv);
}
