#pragma once

#include "core/wizard_state.h"
#include "selection/name_collation.h"

#include <QGroupBox>
#include <QHash>

class QLabel;

namespace vignetta {

class DirList;
class DriveList;
class FileList;

// Step 1: the drive, directory and file lists, kept in step with each other.
class Step1Panel final : public QGroupBox
{
    Q_OBJECT
public:
    // The lists open on `startDirectory`; should that be unreadable, on the home directory,
    // and failing that on the root.
    explicit Step1Panel(const QString& startDirectory, QWidget* parent = nullptr);

    // What the navigation reads: the image names listed and the directory they are in.
    [[nodiscard]] qsizetype fileCount() const;
    [[nodiscard]] const CollatedNames& fileNames() const;
    [[nodiscard]] QString filePath() const;

    // Opens a directory as if the user had opened it in the directory list.
    bool openDirectory(const QString& path);

    [[nodiscard]] Step1Values Get_Step1_Info() const;

Q_SIGNALS:
    // A directory could not be opened; the lists stayed where they were.
    void directoryError(const QString& message);

private:
    void Drive1_Change(const QString& root);
    void Dir1_Change(const QString& path);
    void reportFailure(const QString& path, const QString& reason);

    QLabel* m_label = nullptr;
    DriveList* m_drive1 = nullptr;
    DirList* m_dir1 = nullptr;
    FileList* m_file1 = nullptr;
    QHash<QString, QString> m_lastOpenedOnDrive;
};

// The warning text for a directory that cannot be opened.
[[nodiscard]] QString directoryErrorText(const QString& path, const QString& reason);

} // namespace vignetta
