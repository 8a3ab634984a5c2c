// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Files and directories made by their bytes, which Qt cannot name to remove them: removed when
// the test leaves, however it ends. Declared after the folder holding them.
class RawEntries
{
public:
    RawEntries() = default;
    RawEntries(const RawEntries&) = delete;
    RawEntries& operator=(const RawEntries&) = delete;
    RawEntries(RawEntries&&) = delete;
    RawEntries& operator=(RawEntries&&) = delete;
    ~RawEntries()
    {
        // The last made first: a directory once it is empty.
        while (!m_paths.isEmpty()) {
            const QByteArray path = m_paths.takeLast();
            if (::unlink(path.constData()) != 0)
                ::rmdir(path.constData());
        }
    }
    [[nodiscard]] bool file(const QByteArray& path)
    {
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
        m_paths.append(path);
        return true;
    }
    [[nodiscard]] bool dir(const QByteArray& path)
    {
        if (::mkdir(path.constData(), 0755) != 0)
            return false;
        m_paths.append(path);
        return true;
    }

private:
    QList<QByteArray> m_paths;
};
