// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace vignetta {

// An open file descriptor, closed when it goes.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }

    [[nodiscard]] int get() const { return m_fd; }
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    // Closes it now: 0, or the error close reports (network file systems report failed
    // writes there). After EINTR the descriptor is closed all the same and nothing is lost.
    int close()
    {
        if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
            return errno;
        return 0;
    }

private:
    int m_fd = -1;
};

// Repeats a call that a signal interrupted.
template <typename Call>
auto retried(Call call)
{
    auto result = call();
    while (result == -1 && errno == EINTR)
        result = call();
    return result;
}

} // namespace vignetta
