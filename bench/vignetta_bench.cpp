// Times the wizard's user actions on large folders, driven through the real window offscreen,
// next to a raw readdir + sort of the same folder; the writing of the thumbnail page, through
// Finish and through the page writer alone, next to a plain fwrite of the same bytes; and the
// wizard's start-up next to a minimal Qt Widgets window's. Prints Markdown tables.
//
//   QT_QPA_PLATFORM=offscreen build/default/bench/vignetta_bench
//
// The program re-launches itself with "--startup-child wizard|minimal" to time start-up.

#include "appearance/step3_panel.h"
#include "core/wizard_state.h"
#include "output/page_saver.h"
#include "output/page_writer.h"
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
#include <QList>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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
    bool openUrl(const QUrl& /*url*/) override { return false; }

    QList<vignetta::MessageRequest> messages;

private:
    class NoProgress final : public vignetta::ProgressPrompt
    {
    public:
        void setProgress(int /*done*/, int /*toDo*/, const QString& /*text*/) override {}
    };
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "vignetta_bench: %s\n", what);
    std::exit(1);
}

void require(bool condition, const char* what)
{
    if (!condition)
        fail(what);
}

double toMs(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// ---- The folders -------------------------------------------------------------------------

void touch(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    require(fd >= 0, "cannot create a file in the temporary folder");
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
        std::snprintf(name, sizeof name, "IMG_%05d copy%s", i, ext);
    else if (i % 50 == 22)
        std::snprintf(name, sizeof name, "Beach day %05d%s", i, ext);
    else
        std::snprintf(name, sizeof name, "%s%05d%s", (i % 5 == 4) ? "DSC" : "IMG_", i, ext);
}

// `images` image files, plus a few files the file list must leave out and a few
// subdirectories.
void fillFolder(const QString& path, int images)
{
    const std::string root = QFile::encodeName(path).toStdString() + '/';
    char name[64];
    for (int i = 0; i < images; ++i) {
        imageName(i, name);
        touch(root + name);
    }
    for (int i = 0; i < 8; ++i) {
        std::snprintf(name, sizeof name, "notes_%02d.txt", i);
        touch(root + name);
        std::snprintf(name, sizeof name, "scan_%02d.png", i);
        touch(root + name);
        std::snprintf(name, sizeof name, "IMG_%05d.jpg.xmp", i);
        touch(root + name);
    }
    touch(root + ".hidden.jpg");
    for (const char* dir : {"originals", "edited", "2023-07 Holiday", "raw", ".thumbnails"})
        require(::mkdir((root + dir).c_str(), 0755) == 0, "cannot create a subdirectory");
}

// ---- The baseline: what reading and sorting the names costs at the least ------------------

std::size_t g_sink = 0; // keeps the baseline's work from being optimised away

double baselineOnce(const QByteArray& path)
{
    QElapsedTimer timer;
    timer.start();
    DIR* dir = ::opendir(path.constData());
    require(dir != nullptr, "baseline: opendir failed");
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    const qint64 ns = timer.nsecsElapsed();
    g_sink += names.size() + (names.empty() ? 0 : names.front().size());
    return toMs(ns);
}

// ---- The baselines for the page: the same bytes written with plain stdio --------------------

enum class Sync
{
    kNone,
    kData, // fdatasync before fclose, as QSaveFile's commit does
};

void writeWithStdio(const std::string& path, const QByteArray& bytes, Sync sync)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "fwrite baseline: fopen failed");
    const auto size = static_cast<std::size_t>(bytes.size());
    bool ok = std::fwrite(bytes.constData(), 1, size, file) == size;
    if (sync == Sync::kData)
        ok = ok && std::fflush(file) == 0 && ::fdatasync(::fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    require(ok, "fwrite baseline: writing failed");
}

enum class Target
{
    kNew,      // the file is removed first, untimed
    kExisting, // fopen truncates the file the last run wrote
};

double fwriteOnce(const std::string& path, const QByteArray& bytes, Sync sync, Target target)
{
    if (target == Target::kNew)
        ::unlink(path.c_str());
    QElapsedTimer timer;
    timer.start();
    writeWithStdio(path, bytes, sync);
    return toMs(timer.nsecsElapsed());
}

// The least a safe replacement costs: a new file beside the old one, synced, renamed over it.
double replaceOnce(const std::string& temporary, const std::string& path, const QByteArray& bytes)
{
    QElapsedTimer timer;
    timer.start();
    writeWithStdio(temporary, bytes, Sync::kData);
    require(::rename(temporary.c_str(), path.c_str()) == 0, "replace baseline: rename failed");
    return toMs(timer.nsecsElapsed());
}

struct PageRow
{
    int n = 0;
    const char* action = "";
    double medianMs = 0.0;
    double fwriteMs = 0.0;     // fopen/fwrite/fclose of the same bytes
    double fwriteSyncMs = 0.0; // the same with fdatasync before fclose
    qsizetype bytes = 0;
    bool reference = false;
};

// ---- The user actions ----------------------------------------------------------------------

struct Row
{
    int n = 0;
    const char* action = "";
    double medianMs = 0.0;
    double baselineMs = 0.0;
    bool reference = false; // context for the other rows, not a user action
};

// Writing the page takes milliseconds, and the disk's answer varies more than the processor's:
// more repetitions than the other actions get.
constexpr int kPageReps = 15;

// The page's name as Step 4 offers it.
const QString kPageName = u"Vignetta.html"_s;

std::vector<bool> everyOther(qsizetype count)
{
    std::vector<bool> rows(static_cast<std::size_t>(count), false);
    for (std::size_t i = 0; i < rows.size(); i += 2)
        rows[i] = true;
    return rows;
}

void settle(QWidget& window)
{
    QCoreApplication::processEvents();
    window.repaint();
}

class ActionBench
{
public:
    ActionBench(int n, int reps, QString folder, QString otherFolder)
        : m_n(n), m_reps(reps), m_folder(std::move(folder)), m_other(std::move(otherFolder))
    {
        m_form = std::make_unique<formVG>(QDir::currentPath(), &m_prompts);
        m_form->show();
        require(QTest::qWaitForWindowExposed(m_form.get()), "the window was not exposed");
        settle(*m_form);
    }

    std::vector<Row> run()
    {
        const double baseline = measureBaseline();
        std::vector<Row> rows;
        auto add = [&](const char* action, const std::vector<double>& samples) {
            rows.push_back({m_n, action, median(samples), baseline});
        };

        std::vector<double> open, openPaint, idlePaint;
        measureOpen(open, openPaint, idlePaint);
        add("open folder in Dir1", open);
        add("open folder in Dir1, incl. paint", openPaint);
        add("(reference: repaint of the unchanged window)", idlePaint);
        rows.back().reference = true;

        add("Next from Step 1 (fills Unselected)", measureNextFromStep1());

        std::vector<double> allRight, allLeft;
        measureAllMoves(allRight, allLeft);
        add("All -->", allRight);
        add("<-- All", allLeft);

        std::vector<double> addRight, addRightPaint;
        measureAddRight(addRight, addRightPaint);
        add("Add --> (every other highlighted)", addRight);
        add("Add -->, incl. paint", addRightPaint);

        add("<-- Remove (every other highlighted)", measureRemoveLeft());
        add("Next from Step 2 (all selected)", measureNextFromStep2());

        require(m_prompts.messages.isEmpty(), "the wizard showed a message during the bench");
        return rows;
    }

    // Writes the page by Finish at Step 4, then by the page writer alone on the values Finish
    // collected, each repetition next to plain writes of the same bytes into the same folder.
    std::vector<PageRow> runPage()
    {
        const std::vector<double> finish = measureFinish();
        const vignetta::WizardState state = m_form->state();
        require(state.imageCount() == m_n, "Finish did not take every name");
        const QString directory = step1()->filePath();
        const QString pagePath = vignetta::pagePath(directory, state.sFileName);
        const QByteArray expected = vignetta::renderPage(state);
        require(expected.count("<IMG SRC=\"") == m_n, "the page does not show every image");
        {
            QFile written(pagePath);
            require(written.open(QIODevice::ReadOnly) && written.readAll() == expected,
                    "Finish did not write the rendered page");
        }

        const std::string root = QFile::encodeName(directory).toStdString() + '/';
        const std::string plainPath = root + "fwrite-baseline.html";
        const std::string replacedPath = root + "replace-baseline.html";
        const std::string temporaryPath = root + "replace-baseline.html.new";

        std::vector<double> render, saveNew, both, saveOver, plain, plainSync, plainOver, replaced;
        QElapsedTimer timer;
        for (int r = 0; r < kPageReps; ++r) {
            // The page as a first Finish in the folder writes it: a new file.
            removePage(pagePath);
            timer.start();
            const QByteArray page = vignetta::renderPage(state);
            const qint64 renderNs = timer.nsecsElapsed();
            requireSaved(vignetta::savePage(directory, state.sFileName, page), pagePath, expected);
            const qint64 bothNs = timer.nsecsElapsed();
            render.push_back(toMs(renderNs));
            saveNew.push_back(toMs(bothNs - renderNs));
            both.push_back(toMs(bothNs));

            // And as a later one writes it: over the page there.
            timer.start();
            requireSaved(vignetta::savePage(directory, state.sFileName, page), pagePath, expected);
            saveOver.push_back(toMs(timer.nsecsElapsed()));

            // Alternated with the page writer, so that any drift of the machine touches both.
            plain.push_back(fwriteOnce(plainPath, page, Sync::kNone, Target::kNew));
            plainOver.push_back(fwriteOnce(plainPath, page, Sync::kNone, Target::kExisting));
            plainSync.push_back(fwriteOnce(plainPath, page, Sync::kData, Target::kNew));
            replaced.push_back(replaceOnce(temporaryPath, replacedPath, page));
            g_sink += static_cast<std::size_t>(page.size());
        }
        ::unlink(plainPath.c_str());
        ::unlink(replacedPath.c_str());
        require(m_prompts.messages.isEmpty(), "the wizard showed a message while writing");

        const double fwriteMs = median(plain);
        const double fwriteSyncMs = median(plainSync);
        std::vector<PageRow> rows;
        auto add = [&](const char* action, const std::vector<double>& samples, bool reference) {
            rows.push_back(
                {m_n, action, median(samples), fwriteMs, fwriteSyncMs, expected.size(), reference});
        };
        add("renderPage", render, false);
        add("savePage, new page", saveNew, false);
        add("renderPage + savePage, new page", both, false);
        add("Finish at Step 4, new page (through the window)", finish, false);
        add("savePage, over the existing page", saveOver, false);
        add("(reference: fwrite, new file)", plain, true);
        add("(reference: fwrite + fdatasync, new file)", plainSync, true);
        add("(reference: fwrite over the existing file)", plainOver, true);
        add("(reference: fwrite + fdatasync to a new name, rename over)", replaced, true);
        return rows;
    }

private:
    static void removePage(const QString& path)
    {
        require(!QFileInfo::exists(path) || QFile::remove(path), "cannot remove the last page");
    }

    static void requireSaved(const vignetta::SaveResult& saved, const QString& path,
                             const QByteArray& expected)
    {
        require(saved.ok && QFileInfo(path).size() == expected.size(),
                "savePage did not write the whole page");
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
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

    double measureBaseline()
    {
        const QByteArray path = QFile::encodeName(m_folder);
        std::vector<double> samples;
        samples.reserve(static_cast<std::size_t>(m_reps));
        for (int r = 0; r < m_reps; ++r)
            samples.push_back(baselineOnce(path));
        return median(samples);
    }

    // Also times a repaint of the window right after, with nothing changed: the fixed part of
    // every "incl. paint" figure.
    void measureOpen(std::vector<double>& action, std::vector<double>& withPaint,
                     std::vector<double>& idlePaint)
    {
        QElapsedTimer timer;
        for (int r = 0; r < m_reps; ++r) {
            // Another folder first, so each opening really changes the path.
            require(step1()->openDirectory(m_other), "cannot open the small folder");
            settle(*m_form);

            timer.start();
            const bool ok = step1()->openDirectory(m_folder);
            const qint64 actionNs = timer.nsecsElapsed();
            settle(*m_form);
            const qint64 paintNs = timer.nsecsElapsed();

            require(ok && step1()->fileCount() == m_n, "the folder did not list N files");
            action.push_back(toMs(actionNs));
            withPaint.push_back(toMs(paintNs));

            timer.start();
            settle(*m_form);
            idlePaint.push_back(toMs(timer.nsecsElapsed()));
        }
    }

    std::vector<double> measureNextFromStep1()
    {
        std::vector<double> samples;
        QElapsedTimer timer;
        for (int r = 0; r < m_reps; ++r) {
            require(step() == vignetta::kStep1, "not on Step 1");
            timer.start();
            click(wizardButton(formVG::kNext));
            samples.push_back(toMs(timer.nsecsElapsed()));
            require(step() == vignetta::kStep2 && list(u"lstUnselected"_s)->count() == m_n,
                    "Next from Step 1 did not fill the Unselected list");
            settle(*m_form);
            if (r + 1 < m_reps) {
                click(wizardButton(formVG::kBack));
                settle(*m_form);
            }
        }
        return samples; // left on Step 2, every name unselected
    }

    void measureAllMoves(std::vector<double>& right, std::vector<double>& left)
    {
        QElapsedTimer timer;
        for (int r = 0; r < m_reps; ++r) {
            timer.start();
            click(moveButton(Step2Panel::kAllRight));
            right.push_back(toMs(timer.nsecsElapsed()));
            require(step2()->selectedCount() == m_n, "All --> did not move every name");
            settle(*m_form);

            timer.start();
            click(moveButton(Step2Panel::kAllLeft));
            left.push_back(toMs(timer.nsecsElapsed()));
            require(list(u"lstUnselected"_s)->count() == m_n, "<-- All did not move every name");
            settle(*m_form);
        }
    }

    void measureAddRight(std::vector<double>& action, std::vector<double>& withPaint)
    {
        QElapsedTimer timer;
        const qsizetype half = (m_n + 1) / 2;
        for (int r = 0; r < m_reps; ++r) {
            list(u"lstUnselected"_s)->setHighlighted(everyOther(m_n));
            settle(*m_form);

            timer.start();
            click(moveButton(Step2Panel::kAddRight));
            const qint64 actionNs = timer.nsecsElapsed();
            settle(*m_form);
            const qint64 paintNs = timer.nsecsElapsed();

            require(step2()->selectedCount() == half, "Add --> did not move every other name");
            action.push_back(toMs(actionNs));
            withPaint.push_back(toMs(paintNs));

            click(moveButton(Step2Panel::kAllLeft));
            settle(*m_form);
        }
    }

    std::vector<double> measureRemoveLeft()
    {
        std::vector<double> samples;
        QElapsedTimer timer;
        const qsizetype stay = m_n / 2;
        for (int r = 0; r < m_reps; ++r) {
            click(moveButton(Step2Panel::kAllRight));
            settle(*m_form);
            list(u"lstSelected"_s)->setHighlighted(everyOther(m_n));
            settle(*m_form);

            timer.start();
            click(moveButton(Step2Panel::kRemoveLeft));
            samples.push_back(toMs(timer.nsecsElapsed()));
            require(step2()->selectedCount() == stay, "<-- Remove did not move every other name");
            settle(*m_form);

            click(moveButton(Step2Panel::kAllLeft));
            settle(*m_form);
        }
        return samples;
    }

    std::vector<double> measureNextFromStep2()
    {
        std::vector<double> samples;
        QElapsedTimer timer;
        click(moveButton(Step2Panel::kAllRight));
        settle(*m_form);
        for (int r = 0; r < m_reps; ++r) {
            require(step() == vignetta::kStep2, "not on Step 2");
            timer.start();
            click(wizardButton(formVG::kNext));
            samples.push_back(toMs(timer.nsecsElapsed()));
            require(step() == vignetta::kStep3 && m_form->state().imageCount() == m_n,
                    "Next from Step 2 did not take every name");
            settle(*m_form);
            click(wizardButton(formVG::kBack));
            settle(*m_form);
        }
        return samples;
    }

    // From wherever the wizard stands to Step 4 with every name selected and four columns: the
    // completion panel restarts, Step 1 fills the lists anew.
    void driveToStep4()
    {
        if (step() == vignetta::kCompletion) {
            click(wizardButton(formVG::kRestart));
            settle(*m_form);
        }
        if (step() == vignetta::kStep1) {
            click(wizardButton(formVG::kNext));
            settle(*m_form);
        }
        require(step() == vignetta::kStep2, "not on Step 2");
        if (step2()->selectedCount() != m_n) {
            click(moveButton(Step2Panel::kAllRight));
            settle(*m_form);
        }
        click(wizardButton(formVG::kNext));
        settle(*m_form);
        require(step() == vignetta::kStep3, "Next from Step 2 did not reach Step 3");
        find<QLineEdit>(u"txtColumns"_s)->setText(u"4"_s);
        click(wizardButton(formVG::kNext));
        settle(*m_form);
        require(step() == vignetta::kStep4, "Next from Step 3 did not reach Step 4");
    }

    std::vector<double> measureFinish()
    {
        std::vector<double> samples;
        QElapsedTimer timer;
        for (int r = 0; r < kPageReps; ++r) {
            driveToStep4();
            const QString page = vignetta::pagePath(step1()->filePath(), kPageName);
            removePage(page);
            timer.start();
            click(wizardButton(formVG::kFinish));
            samples.push_back(toMs(timer.nsecsElapsed()));
            require(step() == vignetta::kCompletion && m_form->state().sFileName == kPageName &&
                        QFileInfo::exists(page),
                    "Finish did not write the page");
            settle(*m_form);
        }
        return samples;
    }

    int m_n;
    int m_reps;
    QString m_folder;
    QString m_other;
    SilentPrompts m_prompts;
    std::unique_ptr<formVG> m_form;
};

// ---- Start-up ------------------------------------------------------------------------------

// Runs in the child: builds the window, shows it and says so.
int runStartupChild(int argc, char* argv[], const QString& kind)
{
    QApplication app(argc, argv);
    SilentPrompts prompts;
    std::unique_ptr<QWidget> window;
    if (kind == u"wizard") {
        window = std::make_unique<formVG>(QDir::currentPath(), &prompts);
    } else {
        window = std::make_unique<QWidget>();
        window->resize(200, 80);
        auto* button = new QPushButton(u"OK"_s, window.get());
        button->move(60, 25);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 2;
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}

// Wall time from starting the child to its "shown" line.
double launchOnce(const QString& kind, const QString& workingDirectory)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({u"--startup-child"_s, kind});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(workingDirectory);
    child.setStandardErrorFile(QProcess::nullDevice());

    QElapsedTimer timer;
    timer.start();
    child.start();
    QByteArray output;
    while (!output.contains("shown\n")) {
        if (!child.waitForReadyRead(30000))
            fail("a start-up child did not report its window");
        output += child.readAllStandardOutput();
    }
    const qint64 ns = timer.nsecsElapsed();
    require(child.waitForFinished(30000) && child.exitCode() == 0,
            "a start-up child did not end cleanly");
    return toMs(ns);
}

// ---- Output --------------------------------------------------------------------------------

void printActions(const std::vector<Row>& rows)
{
    std::printf("| N | action | median ms | baseline ms (readdir+sort) | ratio |\n");
    std::printf("|---:|---|---:|---:|---:|\n");
    for (const Row& row : rows) {
        if (row.reference || row.baselineMs <= 0) {
            std::printf("| %d | %s | %.2f | %.2f | - |\n", row.n, row.action, row.medianMs,
                        row.baselineMs);
            continue;
        }
        std::printf("| %d | %s | %.2f | %.2f | %.1fx |\n", row.n, row.action, row.medianMs,
                    row.baselineMs, row.medianMs / row.baselineMs);
    }
}

void printFlags(const std::vector<Row>& rows)
{
    bool any = false;
    for (const Row& row : rows) {
        if (row.reference)
            continue;
        const bool opening = std::strncmp(row.action, "open folder", 11) == 0;
        const bool overTime = row.medianMs > 100.0;
        const bool overBaseline = opening && row.medianMs > 3.0 * row.baselineMs;
        if (!overTime && !overBaseline)
            continue;
        if (!any)
            std::printf("\nOver the limits (100 ms, or 3x baseline for opening the folder):\n\n");
        any = true;
        std::printf("- N=%d, %s: %.2f ms%s%s\n", row.n, row.action, row.medianMs,
                    overTime ? " (over 100 ms)" : "", overBaseline ? " (over 3x baseline)" : "");
    }
    if (!any)
        std::printf("\nNo action over 100 ms, no folder opening over 3x baseline.\n");
}

// The page writer's targets: renderPage + savePage, and so Finish, within 3x of a plain fwrite
// of the same bytes, and under 50 ms up to 32,767 images.
constexpr double kPageLimitMs = 50.0;
constexpr int kPageLimitUpTo = 32767;
constexpr double kPageLimitRatio = 3.0;

double ratio(double ms, double baselineMs)
{
    return baselineMs > 0 ? ms / baselineMs : 0.0;
}

void printPage(const std::vector<PageRow>& rows)
{
    std::printf("| N | page MiB | action | median ms | fwrite ms | ratio | fwrite + fdatasync ms |"
                " ratio |\n");
    std::printf("|---:|---:|---|---:|---:|---:|---:|---:|\n");
    for (const PageRow& row : rows) {
        std::printf("| %d | %.2f | %s | %.2f | %.2f | %.1fx | %.2f | %.1fx |\n", row.n,
                    static_cast<double>(row.bytes) / (1024.0 * 1024.0), row.action, row.medianMs,
                    row.fwriteMs, ratio(row.medianMs, row.fwriteMs), row.fwriteSyncMs,
                    ratio(row.medianMs, row.fwriteSyncMs));
    }
}

void printPageFlags(const std::vector<PageRow>& rows)
{
    bool any = false;
    for (const PageRow& row : rows) {
        if (row.reference || std::strncmp(row.action, "renderPage + ", 13) != 0)
            continue;
        const bool overTime = row.n <= kPageLimitUpTo && row.medianMs > kPageLimitMs;
        const bool overPlain = row.medianMs > kPageLimitRatio * row.fwriteMs;
        const bool overSynced = row.medianMs > kPageLimitRatio * row.fwriteSyncMs;
        if (!overTime && !overPlain)
            continue;
        if (!any)
            std::printf("\nOver the limits (renderPage + savePage: 50 ms up to N=%d, 3x fwrite):"
                        "\n\n",
                        kPageLimitUpTo);
        any = true;
        std::printf("- N=%d, %s: %.2f ms%s%s%s\n", row.n, row.action, row.medianMs,
                    overTime ? " (over 50 ms)" : "", overPlain ? " (over 3x fwrite)" : "",
                    overSynced ? " (over 3x fwrite + fdatasync too)"
                               : " (within 3x fwrite + fdatasync)");
    }
    if (!any)
        std::printf("\nrenderPage + savePage: under 50 ms up to N=%d and within 3x fwrite.\n",
                    kPageLimitUpTo);
}

int runBench(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The wizard lists its working directory when it starts; give it an empty one.
    QTemporaryDir emptyDir;
    QTemporaryDir smallDir;
    require(emptyDir.isValid() && smallDir.isValid(), "cannot create temporary folders");
    require(QDir::setCurrent(emptyDir.path()), "cannot enter the empty folder");
    fillFolder(smallDir.path(), 3);

    std::printf("# Vignetta benchmark\n\n");
    std::printf("Qt %s, platform \"%s\", %ld CPU(s). Medians of the repetitions; user actions are"
                " driven through the real window.\n\n",
                qVersion(), qPrintable(QGuiApplication::platformName()),
                ::sysconf(_SC_NPROCESSORS_ONLN));

    struct Size
    {
        int n;
        int reps;
    };
    const std::array<Size, 4> sizes{{{1000, 7}, {10000, 7}, {32767, 7}, {100000, 7}}};

    std::vector<Row> rows;
    std::vector<PageRow> pageRows;
    for (const Size& size : sizes) {
        QTemporaryDir folder;
        require(folder.isValid(), "cannot create a temporary folder");
        QElapsedTimer made;
        made.start();
        fillFolder(folder.path(), size.n);
        std::fprintf(stderr, "N=%d: folder made in %.0f ms, timing %d repetitions...\n", size.n,
                     toMs(made.nsecsElapsed()), size.reps);

        ActionBench bench(size.n, size.reps, QDir::cleanPath(folder.path()),
                          QDir::cleanPath(smallDir.path()));
        const std::vector<Row> measured = bench.run();
        rows.insert(rows.end(), measured.begin(), measured.end());
        const std::vector<PageRow> page = bench.runPage();
        pageRows.insert(pageRows.end(), page.begin(), page.end());
    }

    std::printf("## User actions (%d/%d/%d/%d repetitions)\n\n", sizes[0].reps, sizes[1].reps,
                sizes[2].reps, sizes[3].reps);
    printActions(rows);
    printFlags(rows);

    std::printf("\n## Writing the page (%d repetitions, into the images' folder)\n\n", kPageReps);
    printPage(pageRows);
    printPageFlags(pageRows);

    std::fprintf(stderr, "timing start-up...\n");
    constexpr int kLaunches = 9;
    std::vector<double> wizard, minimal;
    for (int i = 0; i < kLaunches; ++i) {
        // Alternated, so that any drift of the machine touches both alike.
        wizard.push_back(launchOnce(u"wizard"_s, emptyDir.path()));
        minimal.push_back(launchOnce(u"minimal"_s, emptyDir.path()));
    }
    const double wizardMs = median(wizard);
    const double minimalMs = median(minimal);
    std::printf("\n## Start-up: process start to window shown (offscreen, median of %d)\n\n",
                kLaunches);
    std::printf("| window | median ms | ratio |\n");
    std::printf("|---|---:|---:|\n");
    std::printf("| Vignetta wizard (formVG) | %.2f | %.2fx |\n", wizardMs,
                minimalMs > 0 ? wizardMs / minimalMs : 0.0);
    std::printf("| minimal Qt Widgets window (QWidget + QPushButton) | %.2f | 1.00x |\n",
                minimalMs);
    std::fflush(stdout);
    return g_sink == 0 ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--startup-child") == 0)
            return runStartupChild(argc, argv, QString::fromLocal8Bit(argv[i + 1]));
    }
    return runBench(argc, argv);
}
