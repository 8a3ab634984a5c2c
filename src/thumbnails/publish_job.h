// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/descriptor.h"
#include "core/wizard_state.h"
#include "output/page_saver.h"
#include "output/page_writer.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace vignetta {

// What one Finish publishes: the wizard's values of this pass, and the folder the page goes in.
struct PublishRequest
{
    WizardState state;
    QString directory;
};

enum class PictureStatus
{
    NotDone, // not reached: the job was cancelled or stopped by an error first
    Made,    // its files were written by this run
    Reused,  // the files already there were made for this image, box and rules after its change
    Failed,  // the image could not be read: its cell shows the original
};

// One image of the page as published.
struct PictureOutcome
{
    PictureStatus status = PictureStatus::NotDone;
    QString thumbnail;   // the files' names in the thumbnails' folder; empty where none
    QString copy;        // with picture pages
    QString picturePage; // with picture pages
    // Why the image could not be read, when Failed; what is wrong with it, where its files were
    // made all the same (kCutShort).
    QString problem;
    bool recordsLocation = false; // read only where the page links the original
};

struct PublishResult
{
    QString pagePath;
    QString folder; // the thumbnails' folder, absolute, for messages; empty without thumbnails
    // The same folder, open: its files are reached only through this, never by its path.
    std::shared_ptr<const Descriptor> folderFd;
    QList<ThumbnailCell> cells;    // one per image, in page order
    QList<PictureOutcome> outcome; // one per image, in page order
    QStringList indexPages;        // the index pages after the first, in the folder
    int made = 0;                  // pictures whose files were written
    int reused = 0;                // pictures whose files were kept
    int failed = 0;                // images that could not be read
    int filesWritten = 0;          // thumbnails, copies, picture pages and the page
    int linkedOriginals = 0;       // different images whose originals the page links
    int linkedWithLocation = 0;    // of those, the ones that record where they were taken
    bool cancelled = false;        // stopped by cancel(): no page was written
    // A picture file or the folder could not be had: the whole message, with the path. The
    // job stopped at it; no page was written.
    QString error;
    SaveResult page; // the page's own save, when it was tried
    int staleRemoved = 0;

    [[nodiscard]] bool complete() const { return !cancelled && error.isEmpty() && page.ok; }
    // The names of the picture files the page uses, in the folder.
    [[nodiscard]] QStringList fileNamesInUse() const;
    // Each image with a problem, named by `names` (page order) with the problem: one line each.
    [[nodiscard]] QStringList problems(const std::function<QString(qsizetype)>& names) const;
};

// The time the rest of a piece of work will take, from how long `done` of `toDo` items took:
// -1 until the rate is known, which is once 5 % of the items or 2 seconds of work are done,
// so that the first items, slower while the disk's cache is cold, give no wild guess.
[[nodiscard]] qint64 timeLeftEstimate(int done, int toDo, qint64 elapsedMs);

// Finish's whole work, away from the window: with thumbnail files, the pictures' thumbnails (and
// with picture pages, their screen-size copies and pages) in the page's folder beside it, made
// on every core; then the page; then the files the page no longer uses are removed. In stages:
//   plan:   the folder; what is already there and can stay (only files' headers are read);
//   decode: each picture that needs work decoded once, at the reduced size needed;
//   write:  its files encoded and written, then the picture pages, then the page.
// Files already there that were made for the same image and box after the image's last change
// are kept. Each worker holds at most one decoded picture at a time. An image that cannot be
// read is a result, not an error; a file that cannot be written stops the job with the reason.
// The originals are only ever read. The page is replaced only once complete, and never after
// a cancel; a job that goes away while the page is being written waits for it.
class PublishJob final : public QObject
{
    Q_OBJECT
public:
    explicit PublishJob(PublishRequest request, QObject* parent = nullptr);
    ~PublishJob() override; // cancels and waits
    PublishJob(const PublishJob&) = delete;
    PublishJob& operator=(const PublishJob&) = delete;
    PublishJob(PublishJob&&) = delete;
    PublishJob& operator=(PublishJob&&) = delete;

    // The number of workers; QThread::idealThreadCount() unless set before start().
    void setThreadCount(int threads);
    // Called on the job's thread just before the page is written; tests slow a save with it.
    void setPageHook(std::function<void()> hook) { m_pageHook = std::move(hook); }
    // Returns at once; progress() and then finished() follow in this object's thread.
    void start();
    // Stops the work soon (well within half a second): no worker starts another picture or
    // writes the one it holds, and the page is not written. Files already written stay for the
    // next run.
    void cancel();
    [[nodiscard]] bool isRunning() const { return m_running; }
    // Complete once finished() has been sent.
    [[nodiscard]] const PublishResult& result() const { return m_result; }

Q_SIGNALS:
    // `done` of the `toDo` files to write are written; `msLeft` estimates the time the rest
    // will take, -1 until it is known (timeLeftEstimate). Sent once the work is known (0 done),
    // then as it goes; bursts are merged, the last counts always arrive.
    void progress(int done, int toDo, qint64 msLeft);
    void finished();

private:
    struct Run;
    void run();
    void deliver(PublishResult result);
    void postProgress();
    void sendProgress();

    PublishRequest m_request;
    PublishResult m_result;
    int m_threads;
    bool m_running = false;
    std::function<void()> m_pageHook;
    std::thread m_driver;
    std::atomic_bool m_cancelled{false};
    // Set by cancel() and by a failed write: no worker starts or writes anything more.
    std::atomic_bool m_stop{false};
    std::atomic_int m_done{0};
    std::atomic_int m_toDo{0};
    std::atomic<qint64> m_msLeft{-1};
    std::atomic_bool m_progressPosted{false};
};

// Removes from the folder open as `folder` the files the page's Finishes made there that it no
// longer uses: those the folder's record names (`made`), and thumbnails of earlier versions
// (a thumbnail's name shape and the marker in their header), unless in `inUse`. Nothing else
// in the folder is touched, and nothing outside it: links are never followed.
struct StaleRemoval
{
    int removed = 0;
    QStringList problems; // one line for each file that could not be removed
};
[[nodiscard]] StaleRemoval removeStaleFiles(int folder, const QStringList& made,
                                            const QStringList& inUse);

} // namespace vignetta
