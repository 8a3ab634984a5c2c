// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/drive_list.h"

#include "core/background.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

bool contains(const QString& root, const QString& path)
{
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

// On this platform Qt names a combo box after its current text. The drive list has no label
// beside it, so it is named for what it holds ("Drives") and shows the drive as its value.
class DriveListAccessible final : public QAccessibleWidget
{
public:
    explicit DriveListAccessible(DriveList* list) : QAccessibleWidget(list, QAccessible::ComboBox)
    {}

    QString text(QAccessible::Text t) const override
    {
        const auto* list = static_cast<const DriveList*>(widget());
        if (t == QAccessible::Name && !list->accessibleName().isEmpty())
            return list->accessibleName();
        if (t == QAccessible::Name || t == QAccessible::Value)
            return list->currentText();
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child->object() == list()->view() ? 0 : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
    }

private:
    DriveList* list() const { return static_cast<DriveList*>(widget()); }
};

QAccessibleInterface* driveListAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(DriveList::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType())
        return new DriveListAccessible(static_cast<DriveList*>(object));
    return nullptr;
}

} // namespace

// Lets a probe's thread hand its answer to the list, for as long as the list exists. The thread
// holds the relay, never the list: a probe may outlive the list, and the program too.
struct DriveList::Relay
{
    std::mutex mutex;
    DriveList* list = nullptr;

    void answer(const QString& root)
    {
        const std::lock_guard lock(mutex);
        // Posted while the list cannot be destroyed; should it be destroyed before the answer
        // is delivered, the answer goes with it.
        if (list != nullptr)
            QMetaObject::invokeMethod(
                list, [target = list, root] { target->onProbeAnswered(root); },
                Qt::QueuedConnection);
    }
};

QString driveNotAnsweringText(const QString& root)
{
    return u"The drive \""_s + QDir::toNativeSeparators(root) +
           u"\" does not answer. It may be a network or removable drive that is not reachable "
           u"now."_s;
}

DriveList::DriveList(QWidget* parent, MountTableReader readMounts)
    : QComboBox(parent), m_readMounts(std::move(readMounts)), m_relay(std::make_shared<Relay>())
{
    m_relay->list = this;
    m_probeTimer.setSingleShot(true);
    m_probeTimer.setInterval(defaultProbeTimeLimit);
    connect(&m_probeTimer, &QTimer::timeout, this, &DriveList::onProbeTimedOut);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(driveListAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setEditable(false);
    refresh();
    connect(this, &QComboBox::activated, this, &DriveList::onActivated);
}

DriveList::~DriveList()
{
    const std::lock_guard lock(m_relay->mutex);
    m_relay->list = nullptr;
}

void DriveList::refresh()
{
    const std::vector<MountEntry> mounts = m_readMounts ? m_readMounts() : readMountTable();
    setRoots(userDriveRoots(mounts), volumeLabels(mounts));
}

void DriveList::setRoots(const QStringList& roots, const QHash<QString, QString>& labels)
{
    QStringList sorted = roots;
    std::sort(sorted.begin(), sorted.end());
    forgetPick();
    const QSignalBlocker blocker(this);
    clear();
    for (const QString& root : sorted) {
        const QString label = labels.value(root);
        addItem(label.isEmpty() ? root : root + u" [" + label + u']', root);
    }
    if (!m_shownRoot.isEmpty())
        setCurrentIndex(std::max(0, findData(m_shownRoot)));
}

QStringList DriveList::roots() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result.append(itemData(i).toString());
    return result;
}

QString DriveList::currentRoot() const
{
    return currentData().toString();
}

void DriveList::showDriveOf(const QString& path)
{
    const QString root = rootOf(path, roots());
    forgetPick();
    const QSignalBlocker blocker(this);
    setCurrentIndex(std::max(0, findData(root)));
    m_shownRoot = currentRoot();
}

QString DriveList::rootOf(const QString& path, const QStringList& roots)
{
    QString best;
    for (const QString& root : roots) {
        if (contains(root, path) && root.size() > best.size())
            best = root;
    }
    return best.isEmpty() ? u"/"_s : best;
}

void DriveList::setProbe(Probe probe)
{
    m_probe = std::move(probe);
}

void DriveList::setProbeTimeLimit(std::chrono::milliseconds limit)
{
    m_probeTimer.setInterval(limit);
}

bool DriveList::isProbing(const QString& root) const
{
    return m_probing.contains(root);
}

void DriveList::probeRoot(const QString& root)
{
    // Each step asks the file system for more: a FUSE server may answer one and hang on the next.
    const QByteArray path = QFile::encodeName(root);
    struct stat status = {};
    if (::stat(path.constData(), &status) != 0)
        return;
    DIR* const dir = ::opendir(path.constData());
    if (dir == nullptr)
        return;
    // Only that the call returns matters, not what it returns.
    static_cast<void>(::readdir(dir));
    ::closedir(dir);
}

void DriveList::onActivated(int index)
{
    const QString root = itemData(index).toString();
    if (root == m_shownRoot) {
        forgetPick();
        return;
    }
    m_pickedRoot = root;
    m_probeTimer.start();
    if (!m_probing.contains(root))
        startProbe(root);
}

void DriveList::startProbe(const QString& root)
{
    m_probing.insert(root);
    // A system call on a file system that does not answer cannot be cancelled, and a thread
    // blocked in one cannot be joined: a joined thread, or one from a pool that is waited for at
    // exit, would hang the window or the program's exit. So the probe runs on a detached thread
    // holding only its own copies of the probe and the root, and the relay to the list.
    const bool started = startDetached([relay = m_relay, probe = m_probe, root] {
        if (probe)
            probe(root);
        relay->answer(root);
    });
    // No thread to be had: open the drive without asking first.
    if (!started)
        onProbeAnswered(root);
}

void DriveList::onProbeAnswered(const QString& root)
{
    m_probing.remove(root);
    if (root != m_pickedRoot)
        return;
    forgetPick();
    m_shownRoot = root;
    Q_EMIT driveChanged(root);
}

void DriveList::onProbeTimedOut()
{
    const QString root = std::exchange(m_pickedRoot, QString());
    if (root.isEmpty())
        return;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(std::max(0, findData(m_shownRoot)));
    }
    Q_EMIT driveNotAnswering(root);
}

void DriveList::forgetPick()
{
    m_pickedRoot.clear();
    m_probeTimer.stop();
}

} // namespace vignetta
