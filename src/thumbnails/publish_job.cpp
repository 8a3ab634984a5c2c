// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "thumbnails/publish_job.h"

#include "core/background.h"
#include "core/file_names.h"
#include "core/text_rules.h"
#include "output/index_page.h"
#include "output/picture_page.h"
#include "thumbnails/photo_location.h"
#include "thumbnails/thumbnail_folder.h"
#include "thumbnails/thumbnail_maker.h"
#include "thumbnails/thumbnail_names.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Runs `work` on `threads` threads, this one among them, and waits for all of them.
template <typename Work>
void onThreads(int threads, const Work& work)
{
    std::vector<std::thread> others;
    others.reserve(static_cast<std::size_t>(std::max(0, threads - 1)));
    for (int i = 1; i < threads; ++i) {
        std::thread other = startJoinable(work);
        if (!other.joinable())
            break; // no more threads to be had: it ran here, and this one goes on alone
        others.push_back(std::move(other));
    }
    work();
    for (std::thread& thread : others)
        thread.join();
}

// Calls `work` for each of `items` on `threads` threads, each item once, until `stopping`.
template <typename Item, typename Work, typename Stopping>
void forEachOnThreads(int threads, const std::vector<Item>& items, const Stopping& stopping,
                      const Work& work)
{
    std::atomic<std::size_t> next{0};
    onThreads(threads, [&] {
        for (std::size_t k = next++; k < items.size() && !stopping(); k = next++)
            work(items[k]);
    });
}

QString quotedPath(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

// What a name that is not in the system's encoding is known by when its files are named and
// marked: its bytes, after a character no name read from a disk holds, so that it meets no
// name that is.
QString identityOf(const QByteArray& bytes)
{
    return QChar(u'\0') + QString::fromLatin1(bytes);
}

// The bytes a file in the folder holds now, when it is a small file of its own; null where
// there is none.
QByteArray smallFile(int folder, const QString& name)
{
    constexpr qsizetype kLargest = qsizetype(1) << 20;
    const std::optional<QByteArray> bytes =
        readFileIn(folder, QFile::encodeName(name), kLargest + 1);
    return bytes && bytes->size() <= kLargest ? *bytes : QByteArray();
}

// Whether the file at `nativePath` records where it was taken, from its first bytes.
bool fileRecordsLocation(const QByteArray& nativePath)
{
    const Descriptor fd(retried([&] {
        return ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }));
    struct stat status = {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    QByteArray head(kLocationHeadBytes, Qt::Uninitialized);
    const ssize_t got = retried(
        [&] { return ::pread(fd.get(), head.data(), static_cast<std::size_t>(head.size()), 0); });
    return got > 0 && recordsLocation(QByteArrayView(head).first(got));
}

QString withCutShort(const QString& marker, bool cutShort)
{
    return cutShort ? marker + QString::fromUtf16(kCutShortMarker) : marker;
}

} // namespace

qint64 timeLeftEstimate(int done, int toDo, qint64 elapsedMs)
{
    constexpr qint64 kKnownAfterMs = 2000;
    constexpr int kKnownAfterPercent = 5;
    if (done <= 0 ||
        (qint64(done) * 100 < qint64(toDo) * kKnownAfterPercent && elapsedMs < kKnownAfterMs))
        return -1;
    return elapsedMs * (toDo - done) / done;
}

QStringList PublishResult::fileNamesInUse() const
{
    QStringList names;
    for (const PictureOutcome& one : outcome) {
        for (const QString* name : {&one.thumbnail, &one.copy, &one.picturePage}) {
            if (!name->isEmpty())
                names.append(*name);
        }
    }
    names += indexPages;
    names.removeDuplicates();
    return names;
}

QStringList PublishResult::problems(const std::function<QString(qsizetype)>& names) const
{
    QStringList lines;
    for (qsizetype i = 0; i < outcome.size(); ++i) {
        const PictureOutcome& one = outcome[i];
        if (one.problem.isEmpty())
            continue;
        lines.append(
            names(i) + u": "_s + one.problem +
            (one.status == PictureStatus::Failed ? u"; its cell shows the original"_s : QString()));
    }
    lines.removeDuplicates(); // an image named twice on the page is one image
    return lines;
}

// One run of the job: what its stages share.
struct PublishJob::Run
{
    Run(PublishJob& job, const WizardState& state, const QString& directory, PublishResult& result)
        : job(job), state(state), directory(directory), result(result)
    {}

    PublishJob& job;
    const WizardState& state;
    const QString& directory;
    PublishResult& result;

    QSize box;
    bool picturePages = false;
    bool linksOriginals = false;
    qsizetype count = 0;
    QList<QByteArray> images; // the page's images, as their bytes on disk, in page order
    QStringList identities;
    QStringList baseNames;
    std::vector<qsizetype> distinct;   // each image's first place on the page
    std::vector<qsizetype> firstPlace; // for each place, the first place of its image
    std::optional<ThumbnailFolder> folder;
    FolderManifest recorded; // the folder's record as found
    FolderManifest kept;     // the files this run made or kept, with their markers
    std::mutex keptMutex;
    std::vector<PictureOutcome> outcome;
    std::vector<ThumbnailCell> cells;
    std::vector<QSize> copyPixels;
    std::vector<char> needsThumbnail;
    std::vector<char> needsCopy;
    std::vector<qsizetype> work; // the distinct images that need decoding
    std::mutex errorMutex;
    std::atomic_int written{0};

    [[nodiscard]] bool stopping() const { return job.m_stop.load(); }
    [[nodiscard]] QByteArray imagePath(qsizetype i) const
    {
        return QFile::encodeName(directory) + '/' + images.at(i);
    }
    [[nodiscard]] int folderFd() const { return folder->fd->get(); }
    void keep(const QString& name, const QString& marker)
    {
        const std::lock_guard lock(keptMutex);
        kept.insert(name, marker);
    }
    void fail(const QString& message)
    {
        const std::lock_guard lock(errorMutex);
        if (result.error.isEmpty())
            result.error = message;
        job.m_stop = true;
    }
    void fileDone()
    {
        ++job.m_done;
        job.postProgress();
    }

    [[nodiscard]] IndexSettings indexSettings() const
    {
        return {folder ? folder->name : thumbnailFolderName(state.sFileName),
                QLocale().bcp47Name()};
    }
    // Writes a small file of the folder unless it holds those bytes already: a second Finish
    // writes only what changed. False where it could not be written (the job then stops).
    bool writeIfChanged(const QString& name, const QByteArray& bytes, const QString& marker);

    bool plan();
    void decodeAndWrite();
    void writePicturePages();
    void writeIndexPages();
    void writePage();
    void gather();
};

bool PublishJob::Run::writeIfChanged(const QString& name, const QByteArray& bytes,
                                     const QString& marker)
{
    if (smallFile(folderFd(), name) != bytes) {
        const SaveResult saved = savePictureFile(folderFd(), name, bytes);
        if (!saved.ok) {
            fail(u"The file "_s + quotedPath(folder->path + u'/' + name) +
                 u" could not be written: "_s + saved.error);
            return false;
        }
        ++written;
    }
    keep(name, marker);
    fileDone();
    return true;
}

bool PublishJob::Run::plan()
{
    box = QSize(pixelLength(state.sWidth).value_or(1), pixelLength(state.sHeight).value_or(1));
    picturePages = state.bPicturePages;
    linksOriginals = !picturePages || state.bLinkOriginals;
    count = state.imageCount();
    images.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        images.append(state.sImageFiles.bytesAt(i).toByteArray());

    // A name the page cannot have is refused before anything is written for it.
    if (const QString problem = pageNameProblem(state.sFileName); !problem.isEmpty()) {
        result.page = {false, problem};
        return false;
    }
    ThumbnailFolderChoice choice = openThumbnailFolder(directory, state.sFileName);
    if (!choice.folder) {
        result.error = choice.error;
        return false;
    }
    folder = std::move(choice.folder);
    result.folder = folder->path;
    result.folderFd = folder->fd;
    recorded = readManifest(folderFd());

    // Each image by its bytes: a name that is not in the system's encoding stands for its own
    // file, never for one whose name reads the same.
    identities.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = displayName(images.at(i));
        identities.append(QFile::encodeName(name) == images.at(i) ? name
                                                                  : identityOf(images.at(i)));
    }
    baseNames = thumbnailBaseNames(identities);
    // An image named twice on the page has one set of files; its first place does the work.
    firstPlace.resize(static_cast<std::size_t>(count));
    QHash<QByteArray, qsizetype> seen;
    for (qsizetype i = 0; i < count; ++i) {
        const auto at = seen.constFind(images.at(i));
        if (at != seen.cend()) {
            firstPlace[static_cast<std::size_t>(i)] = *at;
            continue;
        }
        seen.insert(images.at(i), i);
        firstPlace[static_cast<std::size_t>(i)] = i;
        distinct.push_back(i);
    }

    outcome.resize(static_cast<std::size_t>(count));
    cells.resize(static_cast<std::size_t>(count));
    copyPixels.resize(static_cast<std::size_t>(count));
    needsThumbnail.assign(static_cast<std::size_t>(count), 0);
    needsCopy.assign(static_cast<std::size_t>(count), 0);

    // The files that can stay: the folder's record says what each was made from, and only
    // their headers are read. Where the page links the originals, each one's first bytes tell
    // whether it records where it was taken.
    forEachOnThreads(
        job.m_threads, distinct, [this] { return stopping(); },
        [&](qsizetype i) {
            const auto at = static_cast<std::size_t>(i);
            PictureOutcome& one = outcome[at];
            if (linksOriginals)
                one.recordsLocation = fileRecordsLocation(imagePath(i));
            const auto reusable = [&](const QString& name, const QString& marker,
                                      bool& cutShort) -> std::optional<QSize> {
                const auto entry = recorded.constFind(name);
                if (entry == recorded.cend())
                    return std::nullopt;
                if (*entry != marker && *entry != withCutShort(marker, true))
                    return std::nullopt;
                cutShort = *entry != marker;
                return reusablePicture(folderFd(), name, imagePath(i));
            };
            bool cutShort = false;
            const QString thumbnailMark = thumbnailMarker(identities.at(i), box);
            for (const QString& suffix : {u".jpg"_s, u".png"_s}) {
                const QString name = baseNames.at(i) + suffix;
                if (const std::optional<QSize> pixels = reusable(name, thumbnailMark, cutShort)) {
                    one.thumbnail = name;
                    const QSize css = fitInside(*pixels, box);
                    cells[at] = {folder->name + u'/' + name, css.width(), css.height(), {}};
                    keep(name, withCutShort(thumbnailMark, cutShort));
                    break;
                }
            }
            needsThumbnail[at] = one.thumbnail.isEmpty() ? 1 : 0;
            if (picturePages) {
                const QString copyMark = copyMarker(identities.at(i));
                bool copyCutShort = false;
                for (const QString& suffix : {u"-large.jpg"_s, u"-large.png"_s}) {
                    const QString name = baseNames.at(i) + suffix;
                    if (const std::optional<QSize> pixels =
                            reusable(name, copyMark, copyCutShort)) {
                        one.copy = name;
                        copyPixels[at] = *pixels;
                        keep(name, withCutShort(copyMark, copyCutShort));
                        break;
                    }
                }
                needsCopy[at] = one.copy.isEmpty() ? 1 : 0;
                cutShort = cutShort || copyCutShort;
            }
            if (cutShort)
                one.problem = QString::fromUtf16(kCutShort);
            if (needsThumbnail[at] == 0 && needsCopy[at] == 0)
                one.status = PictureStatus::Reused;
        });
    int files = indexPageCount(count); // the pages of the index
    for (const qsizetype i : distinct) {
        const auto at = static_cast<std::size_t>(i);
        if (needsThumbnail[at] != 0 || needsCopy[at] != 0)
            work.push_back(i);
        files += needsThumbnail[at] + needsCopy[at] + (picturePages ? 1 : 0);
    }
    job.m_toDo = files;
    // The work as it is known, before any of it is done.
    QMetaObject::invokeMethod(
        &job, [&job = job, files] { Q_EMIT job.progress(0, files, -1); }, Qt::QueuedConnection);
    return !stopping();
}

void PublishJob::Run::decodeAndWrite()
{
    QElapsedTimer clock;
    clock.start();
    forEachOnThreads(
        job.m_threads, work, [this] { return stopping(); },
        [&](qsizetype i) {
            const auto at = static_cast<std::size_t>(i);
            PictureOutcome& one = outcome[at];
            const bool withCopy = needsCopy[at] != 0;
            DecodedPicture picture = readPicture(imagePath(i), box, withCopy, job.m_stop);
            if (stopping())
                return;
            if (picture.thumbnail.isNull()) {
                // None of its files will be made.
                job.m_toDo -= needsThumbnail[at] + needsCopy[at] + (picturePages ? 1 : 0);
                job.postProgress();
                one = {PictureStatus::Failed, {}, {}, {}, picture.problem, one.recordsLocation};
                cells[at] = {};
                // Its cell shows the original: a file kept for it is of no use.
                const std::lock_guard lock(keptMutex);
                kept.remove(baseNames.at(i) + u".jpg"_s);
                kept.remove(baseNames.at(i) + u".png"_s);
                return;
            }
            const bool cutShort = !picture.problem.isEmpty();
            if (cutShort)
                one.problem = picture.problem;
            const auto write = [&](const QImage& image, const QString& stem, const QString& marker,
                                   QString& name) {
                const EncodedPicture encoded = encodePicture(image);
                if (stopping())
                    return false;
                name = stem + encoded.suffix;
                const SaveResult saved = encoded.bytes.isEmpty()
                                             ? SaveResult{false, u"it could not be encoded"_s}
                                             : savePictureFile(folderFd(), name, encoded.bytes);
                if (!saved.ok) {
                    fail(u"The file "_s + quotedPath(folder->path + u'/' + name) +
                         u" could not be written: "_s + saved.error);
                    name.clear();
                    return false;
                }
                keep(name, withCutShort(marker, cutShort));
                ++written;
                fileDone();
                return true;
            };
            if (needsThumbnail[at] != 0) {
                QString name;
                const QSize pixels = picture.thumbnail.size();
                if (!write(picture.thumbnail, baseNames.at(i),
                           thumbnailMarker(identities.at(i), box), name))
                    return;
                one.thumbnail = name;
                const QSize css = fitInside(pixels, box);
                cells[at] = {folder->name + u'/' + name, css.width(), css.height(), {}};
            }
            picture.thumbnail = QImage(); // one decoded picture per worker at a time
            if (withCopy) {
                QString name;
                copyPixels[at] = picture.copy.size();
                if (!write(picture.copy, baseNames.at(i) + u"-large"_s,
                           copyMarker(identities.at(i)), name))
                    return;
                one.copy = name;
            }
            one.status = PictureStatus::Made;
            const int done = job.m_done.load();
            job.m_msLeft = timeLeftEstimate(done, job.m_toDo, clock.elapsed());
        });
    // Each later place of an image takes what its first place has.
    for (qsizetype i = 0; i < count; ++i) {
        const auto first = static_cast<std::size_t>(firstPlace[static_cast<std::size_t>(i)]);
        outcome[static_cast<std::size_t>(i)] = outcome[first];
        cells[static_cast<std::size_t>(i)] = cells[first];
    }
}

void PublishJob::Run::writePicturePages()
{
    // The pictures in the order of their first place, each with a page of its own; an image
    // that could not be read has none, and its cell leads to the original.
    std::vector<qsizetype> shown;
    for (const qsizetype i : distinct) {
        const PictureOutcome& one = outcome[static_cast<std::size_t>(i)];
        if (!one.copy.isEmpty() && !one.thumbnail.isEmpty())
            shown.push_back(i);
    }
    const auto pageName = [&](qsizetype i) -> QString { return baseNames.at(i) + u".html"_s; };
    const QByteArray firstIndex = "../" + linkAttribute(QStringView(trimBlanks(state.sFileName)));
    const QString language = QLocale().bcp47Name();
    const int total = static_cast<int>(shown.size());
    for (int n = 0; n < total && !stopping(); ++n) {
        const qsizetype i = shown[static_cast<std::size_t>(n)];
        const auto at = static_cast<std::size_t>(i);
        PicturePage page;
        page.name = displayName(images.at(i));
        page.number = n + 1;
        page.count = total;
        page.copy = linkAttribute(QStringView(outcome[at].copy));
        page.copyWidth = copyPixels[at].width();
        page.copyHeight = copyPixels[at].height();
        // Around the ends: after the last comes the first.
        page.previous = linkAttribute(
            QStringView(pageName(shown[static_cast<std::size_t>((n + total - 1) % total)])));
        page.next =
            linkAttribute(QStringView(pageName(shown[static_cast<std::size_t>((n + 1) % total)])));
        // Back to the index page that holds it.
        const int holder = indexPageOf(i);
        page.index =
            holder == 1 ? firstIndex : linkAttribute(QStringView(indexPageFileName(holder)));
        if (state.bLinkOriginals)
            page.original = "../" + linkAttribute(QByteArrayView(images.at(i)));
        page.backColor = state.sBackColor;
        page.foreColor = state.sForeColor;
        page.language = language;
        const QString name = pageName(i);
        if (!writeIfChanged(name, renderPicturePage(page), QString::fromUtf16(kPicturePageMarker)))
            return;
        outcome[at].picturePage = name;
        cells[at].link = folder->name + u'/' + name;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const auto first = static_cast<std::size_t>(firstPlace[static_cast<std::size_t>(i)]);
        outcome[static_cast<std::size_t>(i)].picturePage = outcome[first].picturePage;
        cells[static_cast<std::size_t>(i)].link = cells[first].link;
    }
}

void PublishJob::Run::writeIndexPages()
{
    // The index pages after the first, beside the thumbnails; the first is the page itself.
    const QList<ThumbnailCell> all(cells.begin(), cells.end());
    const IndexSettings settings = indexSettings();
    for (int number = 2; number <= indexPageCount(count) && !stopping(); ++number) {
        const QString name = indexPageFileName(number);
        if (!writeIfChanged(name, renderIndexPage(state, all, number, settings),
                            QString::fromUtf16(kIndexPageMarker)))
            return;
        result.indexPages.append(name);
    }
}

void PublishJob::Run::gather()
{
    result.outcome = QList<PictureOutcome>(outcome.begin(), outcome.end());
    result.cells = QList<ThumbnailCell>(cells.begin(), cells.end());
    for (const qsizetype i : distinct) {
        const PictureOutcome& one = outcome[static_cast<std::size_t>(i)];
        result.made += one.status == PictureStatus::Made ? 1 : 0;
        result.reused += one.status == PictureStatus::Reused ? 1 : 0;
        result.failed += one.status == PictureStatus::Failed ? 1 : 0;
        // The page links the original of an image without a picture page, and with one where
        // asked to.
        if (linksOriginals || one.picturePage.isEmpty()) {
            ++result.linkedOriginals;
            result.linkedWithLocation += one.recordsLocation ? 1 : 0;
        }
    }
    result.filesWritten = written.load();
}

void PublishJob::Run::writePage()
{
    if (job.m_pageHook)
        job.m_pageHook();
    if (folder) {
        // The files the page shows reach the disk before the page does.
        if (const int error = syncFileSystem(folderFd())) {
            result.page = {false, qt_error_string(error)};
            return;
        }
    }
    const bool thumbnails = folder.has_value();
    const IndexSettings settings = indexSettings();
    result.page = savePage(directory, state.sFileName, [&](const PageSink& sink) {
        return thumbnails ? sink(renderIndexPage(state, result.cells, 1, settings))
                          : renderPage(state, sink);
    });
    if (result.page.ok) {
        ++result.filesWritten;
        job.m_msLeft = 0;
        ++job.m_done;
        job.postProgress();
    }
}

PublishJob::PublishJob(PublishRequest request, QObject* parent)
    : QObject(parent), m_request(std::move(request)), m_threads(QThread::idealThreadCount())
{}

PublishJob::~PublishJob()
{
    cancel();
    if (m_driver.joinable())
        m_driver.join();
}

void PublishJob::setThreadCount(int threads)
{
    m_threads = std::max(1, threads);
}

void PublishJob::start()
{
    if (m_running)
        return;
    m_running = true;
    m_cancelled = false;
    m_stop = false;
    m_done = 0;
    m_toDo = 0;
    m_msLeft = -1;
    m_driver = startJoinable([this] { run(); });
}

void PublishJob::cancel()
{
    m_cancelled = true;
    m_stop = true;
}

void PublishJob::postProgress()
{
    if (!m_progressPosted.exchange(true))
        QMetaObject::invokeMethod(this, &PublishJob::sendProgress, Qt::QueuedConnection);
}

void PublishJob::sendProgress()
{
    // Cleared before the counts are read, so that a count arriving meanwhile posts again.
    m_progressPosted = false;
    Q_EMIT progress(m_done.load(), m_toDo.load(), m_msLeft.load());
}

void PublishJob::deliver(PublishResult result)
{
    result.cancelled = result.cancelled || (m_cancelled.load() && !result.page.ok);
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result)]() mutable {
            if (m_driver.joinable())
                m_driver.join(); // it has nothing left to do but return
            m_result = std::move(result);
            m_running = false;
            Q_EMIT finished();
        },
        Qt::QueuedConnection);
}

void PublishJob::run()
{
    const WizardState& state = m_request.state;
    PublishResult result;
    result.pagePath = pagePath(m_request.directory, state.sFileName);
    Run run{*this, state, m_request.directory, result};

    if (!state.bThumbnails) {
        m_toDo = 1;
        run.writePage();
        deliver(std::move(result));
        return;
    }
    const bool planned = run.plan();
    if (planned)
        run.decodeAndWrite();
    if (planned && !m_stop && run.picturePages)
        run.writePicturePages();
    if (planned && !m_stop)
        run.writeIndexPages();
    run.gather();
    if (run.folder) {
        // The record names every file made, also where the job stops: each can be found again.
        FolderManifest recordNow = run.recorded;
        recordNow.insert(run.kept);
        if (const SaveResult saved = writeManifest(run.folderFd(), state.sFileName, recordNow);
            !saved.ok && result.error.isEmpty())
            result.error =
                u"The file "_s +
                quotedPath(run.folder->path + u'/' + QString::fromLatin1(kThumbnailFolderMark)) +
                u" could not be written: "_s + saved.error;
    }
    if (!planned || m_stop || !result.error.isEmpty()) {
        result.cancelled = m_cancelled.load();
        deliver(std::move(result));
        return;
    }
    run.writePage();
    if (result.page.ok) {
        // Only once the page shows the new files may the ones it no longer uses go. One that
        // cannot be removed does no harm, and goes at a later Finish.
        const QStringList inUse = result.fileNamesInUse();
        const StaleRemoval removal = removeStaleFiles(run.folderFd(), run.recorded.keys(), inUse);
        result.staleRemoved = removal.removed;
        (void)writeManifest(run.folderFd(), state.sFileName, run.kept);
    }
    deliver(std::move(result));
}

StaleRemoval removeStaleFiles(int folder, const QStringList& made, const QStringList& inUse)
{
    StaleRemoval removal;
    const QSet<QString> keep(inUse.begin(), inUse.end());
    const QSet<QString> ours(made.begin(), made.end());
    // Listed through a descriptor of its own, the folder's stays where it is.
    const int listed =
        retried([&] { return ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    DIR* const entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (entries == nullptr) {
        if (listed >= 0)
            ::close(listed);
        removal.problems.append(qt_error_string(errno));
        return removal;
    }
    QStringList names;
    while (const dirent* entry = ::readdir(entries)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (keep.contains(name))
            continue;
        if (ours.contains(name) ||
            (hasThumbnailFileShape(name) && carriesThumbnailMarker(folder, name)))
            names.append(name);
    }
    ::closedir(entries);
    for (const QString& name : std::as_const(names)) {
        if (::unlinkat(folder, QFile::encodeName(name).constData(), 0) == 0)
            ++removal.removed;
        else
            removal.problems.append(u'"' + name + u"\": "_s + qt_error_string(errno));
    }
    return removal;
}

} // namespace vignetta
