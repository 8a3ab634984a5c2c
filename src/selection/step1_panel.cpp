// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/step1_panel.h"

#include "selection/dir_list.h"
#include "selection/drive_list.h"
#include "selection/file_list.h"
#include "ui/ui_kit.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// Changes to the open directory are gathered for this long before it is read again, so that
// a copy of many pictures makes few readings.
constexpr int kRefreshDelayMs = 250;

// The directories above `path`, nearest first, the root last.
std::vector<QByteArray> ancestorsOf(const QByteArray& path)
{
    std::vector<QByteArray> ancestors;
    QByteArray p = path;
    while (p != "/" && !p.isEmpty()) {
        const qsizetype cut = p.lastIndexOf('/');
        p = cut <= 0 ? QByteArray("/") : p.left(cut);
        ancestors.push_back(p);
    }
    return ancestors;
}

} // namespace

QString directoryErrorText(const QString& path, const QString& reason)
{
    return u"The directory \""_s + QDir::toNativeSeparators(path) + u"\" cannot be opened: "_s +
           reason;
}

Step1Panel::Step1Panel(const QString& startDirectory, QWidget* parent)
    : QGroupBox(u"Step 1: Drive/Directory Selection"_s, parent),
      m_worker(
          this, [this](ScanResult result) { onRead(std::move(result)); },
          [this](std::size_t entries) { onProgress(entries); }),
      m_watch([this] { m_refreshTimer.start(); },
              [this](QByteArrayView name, bool isDirectory) {
                  // Hidden entries are not listed; files only where the pattern takes them.
                  return !name.startsWith('.') && (isDirectory || m_file1->pattern().matches(name));
              })
{
    m_label = makeLabel(this, memberName(u"Label1", 0),
                        u"Select the Drive and Directory containing desired image files."_s,
                        twipsRect(120, 360, 5292, 252), 15);

    m_drive1 = new DriveList(this);
    placeControl(m_drive1, u"Drive1"_s, twipsRect(120, 720, 5292, 288), 14);
    m_drive1->setAccessibleName(u"Drives"_s);

    m_dir1 = new DirList(this);
    placeControl(m_dir1, u"Dir1"_s, twipsRect(120, 1080, 2532, 1968), 12);
    m_dir1->setAccessibleName(u"Directories"_s);

    m_file1 = new FileList(this);
    placeControl(m_file1, u"File1"_s, twipsRect(2760, 1080, 2652, 1800), 13);
    m_file1->setAccessibleName(u"Files"_s);
    m_file1->setPattern(u"*.jpg;*.gif;*.bmp"_s);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &Step1Panel::refresh);

    connect(m_drive1, &DriveList::driveChanged, this, &Step1Panel::Drive1_Change);
    connect(m_drive1, &DriveList::driveNotAnswering, this,
            [this](const QString& root) { Q_EMIT directoryError(driveNotAnsweringText(root)); });
    connect(m_dir1, &DirList::pathChanged, this, &Step1Panel::Dir1_Change);
    connect(m_dir1, &DirList::openFailed, this, &Step1Panel::reportFailure);
    m_dir1->setOpener([this](const QByteArray& nativePath) { startOpening(nativePath); });

    // The window shows at once; the lists fill once the start directory has been read.
    Request start;
    for (const QString& path : {startDirectory, QDir::homePath(), u"/"_s})
        start.candidates.push_back(cleanNativePath(fileNameBytes(path)));
    start.onFailure = OnFailure::kQuiet;
    request(std::move(start));
}

Step1Panel::~Step1Panel()
{
    if (!m_waiting.empty())
        QApplication::restoreOverrideCursor();
}

qsizetype Step1Panel::fileCount() const
{
    return m_file1->count();
}

NameList Step1Panel::fileNames() const
{
    return m_file1->names();
}

QString Step1Panel::filePath() const
{
    return m_file1->path();
}

QByteArray Step1Panel::fileNativePath() const
{
    return m_file1->nativePath();
}

bool Step1Panel::openDirectory(const QString& path)
{
    startOpening(fileNameBytes(path));
    bool listed = false;
    QEventLoop loop;
    const QMetaObject::Connection connection =
        connect(this, &Step1Panel::listingEnded, &loop, [&](bool ok) {
            listed = ok;
            loop.quit();
        });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(connection);
    return listed;
}

void Step1Panel::startOpening(const QByteArray& nativePath)
{
    Request open;
    open.candidates.push_back(cleanNativePath(nativePath));
    request(std::move(open));
}

bool Step1Panel::isListing() const
{
    return m_reading;
}

void Step1Panel::whenListed(std::function<void(bool listed)> then)
{
    if (!m_reading) {
        then(true);
        return;
    }
    if (m_waiting.empty())
        QApplication::setOverrideCursor(Qt::BusyCursor);
    m_waiting.push_back(std::move(then));
}

void Step1Panel::setScanHook(ListingWorker::Hook hook)
{
    m_worker.setHook(std::move(hook));
}

Step1Values Step1Panel::Get_Step1_Info() const
{
    return {.sImagePath = m_dir1->path() + QDir::separator()};
}

void Step1Panel::Drive1_Change(const QString& root)
{
    // Back to where the user last was on that drive in this run; its root the first time.
    const QString last = m_lastOpenedOnDrive.value(root, root);
    Request open;
    open.candidates.push_back(cleanNativePath(fileNameBytes(last)));
    if (last != root)
        open.candidates.push_back(cleanNativePath(fileNameBytes(root)));
    open.onFailure = OnFailure::kWarnDrive;
    request(std::move(open));
}

void Step1Panel::Dir1_Change(const QString& path)
{
    m_file1->setListing(m_dir1->listing());
    m_drive1->showDriveOf(path);
    m_lastOpenedOnDrive.insert(m_drive1->currentRoot(), path);
}

void Step1Panel::reportFailure(const QString& path, const QString& reason)
{
    Q_EMIT directoryError(directoryErrorText(path, reason));
}

void Step1Panel::request(Request request)
{
    // A directory the user opens takes the place of the one being read, and of any Next that
    // waited for it.
    if (m_reading && !request.refresh)
        finish(false);
    m_request = std::move(request);
    m_reading = true;
    if (!m_request.refresh)
        m_file1->showReading(displayName(m_request.candidates.front()));
    readCandidate();
}

void Step1Panel::readCandidate()
{
    m_worker.start(m_request.candidates[m_request.tried], m_file1->pattern().text());
}

void Step1Panel::onRead(ScanResult result)
{
    if (result.ok) {
        const auto listing = std::make_shared<const DirectoryListing>(std::move(result.listing));
        m_reading = false;
        // Dir1 reports a new path, and the file list follows it; a new reading of the same
        // directory raises no change, so the file list is given it here.
        const bool samePath = listing->nativePath == m_dir1->nativePath();
        m_dir1->setListing(listing);
        if (samePath)
            m_file1->setListing(listing);
        m_watch.watch(listing->nativePath);
        finish(true);
        return;
    }
    if (m_request.tried == 0) {
        m_request.firstPath = m_request.candidates.front();
        m_request.firstReason = result.error;
    }
    if (++m_request.tried < m_request.candidates.size()) {
        readCandidate();
        return;
    }
    m_reading = false;
    m_file1->stopReading();
    const QString path = displayName(m_request.firstPath);
    switch (m_request.onFailure) {
    case OnFailure::kWarnDrive:
        m_drive1->showDriveOf(m_dir1->path());
        [[fallthrough]];
    case OnFailure::kWarn:
        reportFailure(path, m_request.firstReason);
        break;
    case OnFailure::kQuiet:
        break;
    case OnFailure::kFindAncestor: {
        finish(false);
        Request up;
        up.candidates = ancestorsOf(m_dir1->nativePath());
        up.onFailure = OnFailure::kQuiet;
        up.refresh = true;
        if (!up.candidates.empty())
            request(std::move(up));
        return;
    }
    }
    finish(false);
}

void Step1Panel::onProgress(std::size_t entriesRead)
{
    m_file1->showProgress(entriesRead);
}

void Step1Panel::finish(bool listed)
{
    std::vector<std::function<void(bool)>> waiting = std::exchange(m_waiting, {});
    if (!waiting.empty())
        QApplication::restoreOverrideCursor();
    Q_EMIT listingEnded(listed);
    for (const auto& then : waiting)
        then(listed);
}

void Step1Panel::refresh()
{
    // A directory being read gives a fresh listing anyway.
    if (m_reading || m_dir1->nativePath().isEmpty())
        return;
    Request again;
    again.candidates.push_back(m_dir1->nativePath());
    again.onFailure = OnFailure::kFindAncestor;
    again.refresh = true;
    request(std::move(again));
}

} // namespace vignetta
