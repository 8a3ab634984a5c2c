// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/dir_watch.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

namespace vignetta {

namespace {

constexpr std::uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

} // namespace

DirectoryWatch::DirectoryWatch(std::function<void()> changed, Filter matters)
    : m_changed(std::move(changed)), m_matters(std::move(matters))
{}

DirectoryWatch::~DirectoryWatch()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DirectoryWatch::watch(const QByteArray& nativePath)
{
    if (nativePath == m_path && m_watch >= 0)
        return true;
    stop();
    if (m_fd < 0) {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0)
            return false;
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { readEvents(); });
    }
    m_watch =
        ::inotify_add_watch(m_fd, nativePath.constData(), kEntryEvents | kSelfEvents | IN_ONLYDIR);
    if (m_watch < 0)
        return false;
    m_path = nativePath;
    return true;
}

void DirectoryWatch::stop()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_fd, m_watch);
    m_watch = -1;
    m_path.clear();
}

void DirectoryWatch::readEvents()
{
    alignas(inotify_event) std::array<char, 16384> buffer{};
    bool matters = false;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break; // EAGAIN: all read
        }
        for (ssize_t at = 0; at < got;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                matters = true; // changes were lost: assume the worst
                continue;
            }
            if (event.wd != m_watch)
                continue; // from a directory watched before
            if ((event.mask & (kSelfEvents | IN_IGNORED)) != 0) {
                matters = true;
                continue;
            }
            if (event.len == 0)
                continue;
            const QByteArrayView entry(name, static_cast<qsizetype>(::strnlen(name, event.len)));
            if (!m_matters || m_matters(entry, (event.mask & IN_ISDIR) != 0))
                matters = true;
        }
    }
    if (matters && m_changed)
        m_changed();
}

} // namespace vignetta
