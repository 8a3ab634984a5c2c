#include "selection/step1_panel.h"

#include "selection/dir_list.h"
#include "selection/drive_list.h"
#include "selection/file_list.h"
#include "ui/ui_kit.h"

#include <QDir>
#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

QString directoryErrorText(const QString& path, const QString& reason)
{
    return u"The directory \""_s + QDir::toNativeSeparators(path) + u"\" cannot be opened: "_s +
           reason;
}

Step1Panel::Step1Panel(const QString& startDirectory, QWidget* parent)
    : QGroupBox(u"Step 1: Drive/Directory Selection"_s, parent)
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

    connect(m_drive1, &DriveList::driveChanged, this, &Step1Panel::Drive1_Change);
    connect(m_drive1, &DriveList::driveNotAnswering, this,
            [this](const QString& root) { Q_EMIT directoryError(driveNotAnsweringText(root)); });
    connect(m_dir1, &DirList::pathChanged, this, &Step1Panel::Dir1_Change);
    connect(m_dir1, &DirList::openFailed, this, &Step1Panel::reportFailure);

    for (const QString& start : {startDirectory, QDir::homePath(), u"/"_s}) {
        if (m_dir1->setPath(start))
            break;
    }
}

qsizetype Step1Panel::fileCount() const
{
    return m_file1->count();
}

const CollatedNames& Step1Panel::fileNames() const
{
    return m_file1->entries();
}

QString Step1Panel::filePath() const
{
    return m_file1->path();
}

bool Step1Panel::openDirectory(const QString& path)
{
    QString reason;
    if (m_dir1->setPath(path, &reason))
        return true;
    reportFailure(path, reason);
    return false;
}

Step1Values Step1Panel::Get_Step1_Info() const
{
    return {.sImagePath = m_dir1->path() + QDir::separator()};
}

void Step1Panel::Drive1_Change(const QString& root)
{
    // Back to where the user last was on that drive in this run; its root the first time.
    const QString last = m_lastOpenedOnDrive.value(root, root);
    QString reason;
    if (m_dir1->setPath(last, &reason))
        return;
    if (last != root && m_dir1->setPath(root))
        return;
    m_drive1->showDriveOf(m_dir1->path());
    reportFailure(last, reason);
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

} // namespace vignetta
