// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/mount_table.h"

#include <QComboBox>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace vignetta {

// The drive list: on this system, the roots of the mounted file systems that can hold a
// user's pictures, "/" always among them.
//
// The list is read from the kernel's mount table alone: no mounted file system is asked
// anything until the user picks it, so a network share or a FUSE mount that no longer answers
// cannot keep the window from appearing. A picked drive is first probed on a thread of its own;
// only once it answers does the list report the change. Should it not answer within the time
// limit, the list shows the previous drive again and reports the drive as not answering.
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    using MountTableReader = std::function<std::vector<MountEntry>()>;
    // Returns once the file system at the root answers, whatever the answer; may block for as
    // long as that file system does. Runs on a thread of its own.
    using Probe = std::function<void(const QString& root)>;

    static constexpr std::chrono::milliseconds defaultProbeTimeLimit{3000};

    explicit DriveList(QWidget* parent = nullptr, MountTableReader readMounts = readMountTable);
    ~DriveList() override;

    // Reads the mount table again.
    void refresh();
    // Offers exactly these roots (the mounted file systems, or others a caller chooses).
    void setRoots(const QStringList& roots, const QHash<QString, QString>& labels = {});
    [[nodiscard]] QStringList roots() const;

    [[nodiscard]] QString currentRoot() const;
    // Shows the drive holding `path` without raising the change event.
    void showDriveOf(const QString& path);

    // The root among `roots` under which `path` lies: the longest one that contains it.
    [[nodiscard]] static QString rootOf(const QString& path, const QStringList& roots);

    // How a picked drive is asked whether it answers, and how long it is waited for.
    void setProbe(Probe probe);
    void setProbeTimeLimit(std::chrono::milliseconds limit);
    // Whether a probe of `root` has not answered yet.
    [[nodiscard]] bool isProbing(const QString& root) const;
    // The probe used unless another is set: the root's status, then its first directory entry.
    static void probeRoot(const QString& root);

Q_SIGNALS:
    // The user picked another drive, and it answered.
    void driveChanged(const QString& root);
    // The user picked a drive that did not answer within the time limit; the list shows the
    // previous drive again.
    void driveNotAnswering(const QString& root);

private:
    struct Relay;

    void onActivated(int index);
    void startProbe(const QString& root);
    void onProbeAnswered(const QString& root);
    void onProbeTimedOut();
    void forgetPick();

    MountTableReader m_readMounts;
    Probe m_probe = probeRoot;
    std::shared_ptr<Relay> m_relay;
    QTimer m_probeTimer;
    QString m_shownRoot;
    // The drive picked last, while its probe has not answered.
    QString m_pickedRoot;
    // The roots whose probes are still running: a drive that hangs holds one thread, however
    // often it is picked.
    QSet<QString> m_probing;
};

// The warning for a drive that does not answer.
[[nodiscard]] QString driveNotAnsweringText(const QString& root);

} // namespace vignetta
