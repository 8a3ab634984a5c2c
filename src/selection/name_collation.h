#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vignetta {

// The one order of names shared by the file list and both selection lists: letter case and
// accents ignored, runs of digits compared by their value (IMG_2 before IMG_10). Names that
// collate alike are ordered by their exact text, so the order is total and stable.
[[nodiscard]] QString collationKey(QStringView name);

// A name with its collation key, worked out once when the name enters a list.
struct CollatedName
{
    QString name;
    QString key;

    CollatedName() = default;
    explicit CollatedName(QString n) : name(std::move(n)), key(collationKey(name)) {}

    friend bool operator<(const CollatedName& a, const CollatedName& b)
    {
        const int byKey = QString::compare(a.key, b.key, Qt::CaseSensitive);
        return byKey != 0 ? byKey < 0 : QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    }
};

using CollatedNames = std::vector<CollatedName>;

// Collates and sorts the given names.
[[nodiscard]] CollatedNames collateSorted(const QStringList& names);

// True when name a goes before name b.
[[nodiscard]] bool collatesBefore(QStringView a, QStringView b);

} // namespace vignetta
