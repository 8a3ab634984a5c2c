// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vignetta {

// Tells when the entries of one directory change: a name added, removed or renamed, or the
// directory itself removed or moved. The directory is watched by its bytes (inotify), so a
// name that is not UTF-8 is watched too, and each change names the entry, so that changes to
// entries nobody shows (a page written beside the images, an editor's temporary file) cost
// nothing.
class DirectoryWatch
{
public:
    // Whether a change to the entry `name` matters.
    using Filter = std::function<bool(QByteArrayView name, bool isDirectory)>;

    // `changed` is called, on the thread that made the watch, when a change that matters has
    // happened; several changes read at once make one call.
    explicit DirectoryWatch(std::function<void()> changed, Filter matters = {});
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;
    DirectoryWatch(DirectoryWatch&&) = delete;
    DirectoryWatch& operator=(DirectoryWatch&&) = delete;

    // Watches the directory at `nativePath` instead of the one before. False where it cannot be
    // watched (no inotify, or no watch left): the program then goes without.
    bool watch(const QByteArray& nativePath);
    void stop();
    [[nodiscard]] const QByteArray& path() const { return m_path; }

private:
    void readEvents();

    std::function<void()> m_changed;
    Filter m_matters;
    int m_fd = -1;
    int m_watch = -1;
    QByteArray m_path;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace vignetta
