// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "selection/dir_scan.h"

#include <QAbstractListModel>
#include <QListView>

#include <functional>
#include <memory>
#include <vector>

namespace vignetta {

// One row of the directory list: an ancestor of the open directory, the open directory
// itself, or one of its subdirectories.
struct DirRow
{
    QString name;
    QString path;
    QByteArray nativePath; // the path as its bytes, by which the directory is opened
    int depth = 0;
    bool open = false; // an ancestor or the open directory
};

// Builds the rows for an open directory (its path as bytes) and its sorted subdirectories.
[[nodiscard]] std::vector<DirRow> dirRows(const QByteArray& nativePath,
                                          const NamePool& subdirectories);

class DirRowModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    void setRows(std::vector<DirRow> rows);
    [[nodiscard]] const std::vector<DirRow>& rows() const { return m_rows; }

private:
    std::vector<DirRow> m_rows;
};

// The directory list: shows the open directory's ancestors and subdirectories. A directory is
// opened with a double click or Enter; only then does the path change.
class DirList : public QListView
{
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);

    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] const QByteArray& nativePath() const { return m_nativePath; }
    // Reads and opens `path` here and now. On failure the list stays as it was and `reason`
    // says why.
    bool setPath(const QString& path, QString* reason = nullptr);
    // Opens a directory that has just been read. A new listing of the open directory keeps
    // the highlighted row and raises no change of path.
    void setListing(const std::shared_ptr<const DirectoryListing>& listing);

    // Hands the directories the user opens to `opener`, to be read elsewhere and come back
    // through setListing; without one, the list reads them itself.
    void setOpener(std::function<void(const QByteArray& nativePath)> opener);

    // The listing of the open directory, read when it was opened.
    [[nodiscard]] std::shared_ptr<const DirectoryListing> listing() const { return m_listing; }
    [[nodiscard]] const std::vector<DirRow>& rows() const { return m_model->rows(); }

    // Opens the directory of a row, as a double click on it does.
    void openRow(int row);

Q_SIGNALS:
    // Raised on every change of path.
    void pathChanged(const QString& path);
    // The user asked for a directory that cannot be opened.
    void openFailed(const QString& path, const QString& reason);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DirRowModel* m_model;
    QString m_path;
    QByteArray m_nativePath;
    std::function<void(const QByteArray&)> m_opener;
    std::shared_ptr<const DirectoryListing> m_listing;
};

} // namespace vignetta
