// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/file_names.h"
#include "core/wizard_state.h"
#include "selection/dir_watch.h"
#include "selection/listing_worker.h"

#include <QGroupBox>
#include <QHash>
#include <QTimer>

#include <functional>
#include <vector>

class QLabel;

namespace vignetta {

class DirList;
class DriveList;
class FileList;

// Step 1: the drive, directory and file lists, kept in step with each other.
//
// A directory is read on a thread of its own and the three lists move to it together once it
// has been read; meanwhile the file list says that it is reading, and opening another
// directory cancels the read. The directory shown is watched: when its entries change it is
// read again in the background and the lists follow, keeping what is highlighted.
class Step1Panel final : public QGroupBox
{
    Q_OBJECT
public:
    // The lists open on `startDirectory`; should that be unreadable, on the home directory,
    // and failing that on the root. The window does not wait for that reading.
    explicit Step1Panel(const QString& startDirectory, QWidget* parent = nullptr);
    ~Step1Panel() override;
    Step1Panel(const Step1Panel&) = delete;
    Step1Panel& operator=(const Step1Panel&) = delete;
    Step1Panel(Step1Panel&&) = delete;
    Step1Panel& operator=(Step1Panel&&) = delete;

    // What the navigation reads: the image names listed and the directory they are in.
    [[nodiscard]] qsizetype fileCount() const;
    [[nodiscard]] NameList fileNames() const;
    [[nodiscard]] QString filePath() const;
    [[nodiscard]] QByteArray fileNativePath() const;

    // Opens a directory as if the user had opened it in the directory list, and returns once
    // it has been read: whether the lists moved to it.
    bool openDirectory(const QString& path);
    // Starts opening a directory as the user does; the lists move once it has been read.
    void startOpening(const QByteArray& nativePath);

    // Whether a directory is being read; the file list may not be complete until it is done.
    [[nodiscard]] bool isListing() const;
    // Calls `then` once the reading in progress has ended, with whether the lists now show its
    // listing; meanwhile the busy cursor shows. A reading cancelled by the user's opening of
    // another directory ends without a listing.
    void whenListed(std::function<void(bool listed)> then);

    // Called on the reading thread as a directory is read; tests slow a reading down with it.
    void setScanHook(ListingWorker::Hook hook);

    [[nodiscard]] Step1Values Get_Step1_Info() const;

Q_SIGNALS:
    // A directory could not be opened; the lists stayed where they were.
    void directoryError(const QString& message);
    // A reading has ended: the lists show its directory, or stayed where they were.
    void listingEnded(bool listed);

private:
    // What to do when none of the directories of a request could be read.
    enum class OnFailure
    {
        kWarn,         // warn about the first one
        kWarnDrive,    // show the drive of the open directory again, and warn
        kQuiet,        // say nothing
        kFindAncestor, // the open directory went: open the nearest ancestor that can be read
    };
    struct Request
    {
        std::vector<QByteArray> candidates; // tried in turn until one can be read
        std::size_t tried = 0;
        OnFailure onFailure = OnFailure::kWarn;
        bool refresh = false; // a new reading of the open directory, unseen by the user
        QByteArray firstPath;
        QString firstReason;
    };

    void Drive1_Change(const QString& root);
    void Dir1_Change(const QString& path);
    void reportFailure(const QString& path, const QString& reason);

    void request(Request request);
    void readCandidate();
    void onRead(ScanResult result);
    void onProgress(std::size_t entriesRead);
    void finish(bool listed);
    void refresh();

    QLabel* m_label = nullptr;
    DriveList* m_drive1 = nullptr;
    DirList* m_dir1 = nullptr;
    FileList* m_file1 = nullptr;
    QHash<QString, QString> m_lastOpenedOnDrive;

    ListingWorker m_worker;
    Request m_request;
    bool m_reading = false;
    std::vector<std::function<void(bool)>> m_waiting;
    DirectoryWatch m_watch;
    QTimer m_refreshTimer;
};

// The warning text for a directory that cannot be opened.
[[nodiscard]] QString directoryErrorText(const QString& path, const QString& reason);

} // namespace vignetta
