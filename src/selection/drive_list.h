#pragma once

#include <QComboBox>
#include <QHash>
#include <QStringList>

namespace vignetta {

// The drive list: on this system, the roots of the mounted file systems that can hold a
// user's pictures, "/" always among them.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Reads the mounted file systems again.
    void refresh();
    // Offers exactly these roots (the mounted file systems, or others a caller chooses).
    void setRoots(const QStringList& roots, const QHash<QString, QString>& labels = {});
    [[nodiscard]] QStringList roots() const;

    [[nodiscard]] QString currentRoot() const;
    // Shows the drive holding `path` without raising the change event.
    void showDriveOf(const QString& path);

    // The root among `roots` under which `path` lies: the longest one that contains it.
    [[nodiscard]] static QString rootOf(const QString& path, const QStringList& roots);

Q_SIGNALS:
    // The user picked another drive.
    void driveChanged(const QString& root);

private:
    void onActivated(int index);

    QString m_shownRoot;
};

} // namespace vignetta
