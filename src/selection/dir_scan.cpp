#include "selection/dir_scan.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vignetta {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

ScanResult scanDirectory(const QString& path)
{
    ScanResult result;
    result.listing.path = path;

    const QByteArray encoded = QFile::encodeName(path);
    DIR* dir = ::opendir(encoded.constData());
    if (dir == nullptr) {
        result.error = systemReason(errno);
        return result;
    }
    const int fd = ::dirfd(dir);

    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            if (errno != 0) {
                result.error = systemReason(errno);
                ::closedir(dir);
                return result;
            }
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.')
            continue; // ".", ".." and hidden entries

        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st
            {};
            if (::fstatat(fd, name, &st, 0) != 0)
                continue; // broken link or vanished entry
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            result.listing.subdirectories.append(QFile::decodeName(name));
        else if (type == DT_REG)
            result.listing.files.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    result.ok = true;
    return result;
}

} // namespace vignetta
