// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/dir_scan.h"

#include "selection/name_collation.h"

#include <QList>

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace vignetta {

namespace {

constexpr std::size_t kBatch = 2048;

// Closes the directory however the read ends.
class DirHandle
{
public:
    explicit DirHandle(DIR* dir) : m_dir(dir) {}
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DirHandle(DirHandle&&) = delete;
    DirHandle& operator=(DirHandle&&) = delete;
    ~DirHandle()
    {
        if (m_dir != nullptr)
            ::closedir(m_dir);
    }
    [[nodiscard]] DIR* get() const { return m_dir; }

private:
    DIR* m_dir;
};

} // namespace

QString systemReason(int error)
{
    char buffer[256];
    // The GNU strerror_r: the text may be in the buffer or elsewhere.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

QByteArray cleanNativePath(const QByteArray& path)
{
    QByteArray absolute = path;
    if (!absolute.startsWith('/')) {
        char cwd[PATH_MAX];
        const QByteArray here = ::getcwd(cwd, sizeof cwd) != nullptr ? QByteArray(cwd) : "/";
        absolute = here + '/' + absolute;
    }
    QList<QByteArray> parts;
    for (const QByteArray& part : absolute.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QByteArray clean;
    for (const QByteArray& part : parts)
        clean += '/' + part;
    return clean.isEmpty() ? QByteArray("/") : clean;
}

ScanResult scanDirectory(const QByteArray& nativePath, const FilePattern& pattern,
                         const ScanControl& control)
{
    ScanResult result;
    result.listing.nativePath = nativePath;
    result.listing.path = displayName(nativePath);

    const DirHandle dir(::opendir(nativePath.constData()));
    if (dir.get() == nullptr) {
        result.error = systemReason(errno);
        return result;
    }
    if (control.progress)
        control.progress(0);
    const int fd = ::dirfd(dir.get());

    try {
        NamePoolBuilder subdirectories;
        NamePoolBuilder files;
        // The directory's size in bytes bounds the bytes of its names on the common file
        // systems: room for them up front, so a large listing is never copied as it grows.
        // Room that is not filled costs no memory.
        struct stat self
        {};
        if (::fstat(fd, &self) == 0 && self.st_size > 0) {
            const auto size = static_cast<std::size_t>(self.st_size);
            files.reserve(size, size / 12);
        }
        std::size_t entries = 0;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (entry == nullptr) {
                if (errno != 0) {
                    result.error = systemReason(errno);
                    return result;
                }
                break;
            }
            if (++entries % kBatch == 0) {
                if (control.cancelled && control.cancelled()) {
                    result.cancelled = true;
                    return result;
                }
                if (control.progress)
                    control.progress(entries);
            }
            const char* name = entry->d_name;
            if (name[0] == '.')
                continue; // ".", ".." and hidden entries
            const QByteArrayView bytes(name, static_cast<qsizetype>(std::strlen(name)));

            unsigned char type = entry->d_type;
            // A file the pattern leaves out needs no more looking at, unless it may be a
            // directory: what is not known to be a plain file is asked.
            if (type == DT_REG && !pattern.matches(bytes))
                continue;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                struct stat st
                {};
                if (::fstatat(fd, name, &st, 0) != 0)
                    continue; // broken link or vanished entry
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
                if (type == DT_REG && !pattern.matches(bytes))
                    continue;
            }
            if (type == DT_DIR)
                subdirectories.add(bytes);
            else if (type == DT_REG)
                files.add(bytes);
        }
        const std::function<bool()> never = [] { return false; };
        const std::function<bool()>& cancelled = control.cancelled ? control.cancelled : never;
        result.listing.subdirectories = subdirectories.build(cancelled);
        result.listing.files = files.build(cancelled);
        if (!result.listing.subdirectories || !result.listing.files) {
            result.cancelled = true;
            return result;
        }
    } catch (const std::bad_alloc&) {
        result.error = systemReason(ENOMEM);
        return result;
    } catch (const std::length_error&) {
        result.error = systemReason(ENOMEM);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace vignetta
