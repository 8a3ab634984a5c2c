#include "selection/drive_list.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

// System areas that are mounted but never hold a user's files.
bool isSystemArea(const QString& root)
{
    static const QStringList areas{u"/proc"_s, u"/sys"_s, u"/dev"_s, u"/run"_s};
    return std::any_of(areas.begin(), areas.end(), [&](const QString& area) {
        return root == area || root.startsWith(area + u'/');
    });
}

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

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(driveListAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setEditable(false);
    refresh();
    connect(this, &QComboBox::activated, this, &DriveList::onActivated);
}

void DriveList::refresh()
{
    QStringList found{u"/"_s};
    QHash<QString, QString> labels;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : volumes) {
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!volume.isValid() || isSystemArea(root) || !QFileInfo(root).isDir())
            continue;
        if (!found.contains(root))
            found.append(root);
        if (!volume.name().isEmpty())
            labels.insert(root, volume.name());
    }
    setRoots(found, labels);
}

void DriveList::setRoots(const QStringList& roots, const QHash<QString, QString>& labels)
{
    QStringList sorted = roots;
    std::sort(sorted.begin(), sorted.end());
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

void DriveList::onActivated(int index)
{
    const QString root = itemData(index).toString();
    if (root == m_shownRoot)
        return;
    m_shownRoot = root;
    Q_EMIT driveChanged(root);
}

} // namespace vignetta
