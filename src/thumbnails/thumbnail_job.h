// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/descriptor.h"
#include "output/page_writer.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>

namespace vignetta {

// What one Finish asks for.
struct ThumbnailRequest
{
    QString directory; // the images' folder, where the page is written
    QString
        pageFileName; // the page's name: its thumbnails go into its folder (openThumbnailFolder)
    // The page's image names, in the page's order, as their bytes on disk: they reach the
    // files whatever their encoding.
    QList<QByteArray> images;
    QSize box; // Step 3's Width and Height, in CSS pixels (see pixelLength())
};

enum class ThumbnailStatus
{
    NotDone, // not reached: the job was cancelled or stopped by an error first
    Made,    // written by this run
    Reused,  // the thumbnail already there was made for this image and box after its last change
    Failed,  // the image could not be read: its cell shows the original
};

struct ThumbnailOutcome
{
    ThumbnailStatus status = ThumbnailStatus::NotDone;
    QString fileName; // the thumbnail's name in the folder; empty when Failed
    // Why the image could not be read, when Failed; what is wrong with it, where its thumbnail
    // was made all the same (kCutShort).
    QString problem;
};

struct ThumbnailJobResult
{
    QString folder; // the thumbnails' folder, absolute, for messages
    // The same folder, open: the files in it are reached only through this, never by its path.
    std::shared_ptr<const Descriptor> folderFd;
    QList<ThumbnailCell> cells;      // one per image, in page order, for renderPage()
    QList<ThumbnailOutcome> outcome; // one per image, in page order
    int made = 0;
    int reused = 0;
    int failed = 0;         // images that could not be read
    bool cancelled = false; // stopped by cancel(): the cells are not complete
    // A thumbnail or the folder could not be written: the path and the system's reason. The
    // job stopped at it and the cells are not complete.
    QString error;

    [[nodiscard]] bool complete() const { return !cancelled && error.isEmpty(); }
    // The names of the thumbnails the page shows, for removeStaleThumbnails().
    [[nodiscard]] QStringList fileNamesInUse() const;
};

// The time the rest of a piece of work will take, from how long `done` of `toDo` items took:
// -1 until the rate is known, which is once 5 % of the items or 2 seconds of work are done,
// so that the first items, slower while the disk's cache is cold, give no wild guess.
[[nodiscard]] qint64 timeLeftEstimate(int done, int toDo, qint64 elapsedMs);

// Makes the thumbnails of a page's images on all cores, away from the caller's thread.
// Thumbnails already there that were made for the same image and box after the image's last
// change are kept as they are; only images that need one count as work for the progress.
// Each worker holds at most one decoded image at a time. An image that cannot be read is a
// result, not an error; a thumbnail that cannot be written stops the job with the reason.
// The originals are only ever read.
class ThumbnailJob final : public QObject
{
    Q_OBJECT
public:
    explicit ThumbnailJob(ThumbnailRequest request, QObject* parent = nullptr);
    ~ThumbnailJob() override; // cancels and waits for the workers
    ThumbnailJob(const ThumbnailJob&) = delete;
    ThumbnailJob& operator=(const ThumbnailJob&) = delete;
    ThumbnailJob(ThumbnailJob&&) = delete;
    ThumbnailJob& operator=(ThumbnailJob&&) = delete;

    // The number of workers; QThread::idealThreadCount() unless set before start().
    void setThreadCount(int threads);
    // Returns at once; progress() and then finished() follow in this object's thread.
    void start();
    // Stops the work soon (well within half a second): no worker starts another image or
    // writes the one it holds. Thumbnails already written stay for the next run.
    void cancel();
    [[nodiscard]] bool isRunning() const { return m_running; }
    // Complete once finished() has been sent.
    [[nodiscard]] const ThumbnailJobResult& result() const { return m_result; }

Q_SIGNALS:
    // `done` of the `toDo` thumbnails that needed making are made; `msLeft` estimates the time
    // the rest will take, -1 until it is known (timeLeftEstimate). Sent once the work is known (0
    // done), then as it goes; bursts are merged, the last counts always arrive.
    void progress(int done, int toDo, qint64 msLeft);
    void finished();

private:
    void run();
    void postProgress();
    void sendProgress();

    ThumbnailRequest m_request;
    ThumbnailJobResult m_result;
    int m_threads;
    bool m_running = false;
    std::thread m_driver;
    std::atomic_bool m_cancelled{false};
    // Set by cancel() and by a failed write: no worker starts or writes anything more.
    std::atomic_bool m_stop{false};
    std::atomic_int m_done{0};
    std::atomic_int m_toDo{0};
    std::atomic<qint64> m_msLeft{-1};
    std::atomic_bool m_progressPosted{false};
};

// Removes from the folder open as `folder` the thumbnails this program wrote that are not in
// `inUse`: files of a thumbnail's name shape that carry a thumbnail marker. Nothing else in the
// folder is touched, and nothing outside it: links are never followed.
// Returns the problems met, one line for each file that could not be removed.
struct StaleRemoval
{
    int removed = 0;
    QStringList problems;
};
[[nodiscard]] StaleRemoval removeStaleThumbnails(int folder, const QStringList& inUse);

} // namespace vignetta
