// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "output/page_saver.h"

#include "core/descriptor.h"
#include "core/text_rules.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace vignetta {

namespace {

SaveResult failure(QString reason)
{
    return {false, std::move(reason)};
}

SaveResult failure(int error)
{
    return failure(qt_error_string(error));
}

// Writes the page's pieces one after the other from the start of the file, and has the disk
// start on each few MiB as soon as they are there, so that the final sync waits for little
// more than the last of them.
class PieceWriter
{
public:
    explicit PieceWriter(int fd) : m_fd(fd) {}

    // False once a write failed: error() tells why.
    bool write(QByteArrayView piece)
    {
        qsizetype done = 0;
        while (done < piece.size()) {
            const ssize_t n = ::pwrite(m_fd, piece.constData() + done,
                                       static_cast<std::size_t>(piece.size() - done),
                                       static_cast<off_t>(m_written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) { // a file that takes no more bytes and names no reason cannot grow
                m_error = n < 0 ? errno : ENOSPC;
                return false;
            }
            done += n;
            m_written += n;
        }
        if (m_written - m_started >= kStartEvery) {
            // Only a start: the sync at the end still waits for every byte. A file system
            // that cannot be asked leaves it all to that sync.
            ::sync_file_range(m_fd, m_started, m_written - m_started, SYNC_FILE_RANGE_WRITE);
            m_started = m_written;
        }
        return true;
    }

    [[nodiscard]] int error() const { return m_error; }
    // How many bytes are written so far.
    [[nodiscard]] qsizetype written() const { return m_written; }

private:
    static constexpr qsizetype kStartEvery = qsizetype(8) << 20;
    int m_fd;
    qsizetype m_written = 0;
    qsizetype m_started = 0;
    int m_error = 0;
};

// The whole page, for the rare writes that need its length before the first byte.
QByteArray wholePage(const PageSource& source)
{
    QByteArray page;
    if (!source([&](QByteArrayView piece) {
            page.append(piece);
            return true;
        }))
        page.clear();
    return page;
}

// Why a name cannot be the page's; empty when it can.
QString nameProblem(const QString& name)
{
    if (name.isEmpty())
        return u"The page needs a name."_s;
    if (name.contains(u'/') || name.contains(QDir::separator()))
        return u"A page name may not hold \""_s + QDir::separator() +
               u"\": the page is written beside its images."_s;
    if (std::ranges::any_of(name,
                            [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
        return u"The name holds a line break, a tab or another control character, perhaps pasted "
               u"with it. Type the name without it."_s;
    return {};
}

} // namespace

QString linkRefusal(int dir, const QByteArray& entry)
{
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlinkat(dir, entry.constData(), target.data(),
                                        static_cast<std::size_t>(target.size()));
    const QString to =
        length > 0 ? u" to \""_s + QFile::decodeName(target.left(length)) + u'"' : QString();
    return u"It is a link"_s + to +
           u". The page is written only as a file of its own beside its images, never through "
           u"a link. Choose another name."_s;
}

namespace {

QString kindRefusal(mode_t mode)
{
    QString kind = u"not a regular file"_s;
    if (S_ISDIR(mode))
        kind = u"a folder, not a file"_s;
    else if (S_ISFIFO(mode))
        kind = u"a named pipe (FIFO), not a file"_s;
    else if (S_ISSOCK(mode))
        kind = u"a socket, not a file"_s;
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        kind = u"a device, not a file"_s;
    return u"It is "_s + kind + u". The page replaces only a file. Choose another name."_s;
}

// A short name that no page is likely to have, so that even a page name of the longest length
// the folder allows leaves room for it; hidden, so that it stays out of sight for its moment.
QByteArray temporaryName()
{
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name(".vignetta-");
    for (int i = 0; i < 8; ++i)
        name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return name;
}

constexpr int kNameAttempts = 100;

// The new page while it is written: a file without a name where the file system has them
// (O_TMPFILE), else one under a short hidden name; removed unless it becomes the page.
class Draft
{
public:
    explicit Draft(int dir) : m_dir(dir) {}
    ~Draft()
    {
        if (!m_name.isEmpty())
            ::unlinkat(m_dir, m_name.constData(), 0);
    }
    Draft(const Draft&) = delete;
    Draft& operator=(const Draft&) = delete;
    Draft(Draft&&) = delete;
    Draft& operator=(Draft&&) = delete;

    [[nodiscard]] int fd() const { return m_fd.get(); }

    // Opens it with the mode of a new file (the umask, or the folder's default ACL, applies):
    // 0, or the reason the folder takes no new file.
    int create()
    {
        m_fd = Descriptor(
            retried([&] { return ::openat(m_dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); }));
        if (m_fd.isOpen())
            return 0;
        // EISDIR and EINVAL come from kernels that do not know O_TMPFILE.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            QByteArray name = temporaryName();
            m_fd = Descriptor(retried([&] {
                return ::openat(m_dir, name.constData(),
                                O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666);
            }));
            if (m_fd.isOpen()) {
                m_name = std::move(name);
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    // Gives it a name in the folder if it has none yet, closes it, and puts it in the place of
    // `entry` in one step: 0, or the reason it did not get there.
    int replace(const QByteArray& entry)
    {
        if (const int error = giveName())
            return error;
        if (const int error = m_fd.close())
            return error;
        // Replaces the entry itself, whatever it is by now: a link put there since the check is
        // replaced, never followed.
        if (::renameat(m_dir, m_name.constData(), m_dir, entry.constData()) != 0)
            return errno;
        m_name.clear();
        return 0;
    }

private:
    int giveName()
    {
        if (!m_name.isEmpty())
            return 0;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const QByteArray name = temporaryName();
            int linked =
                ::linkat(AT_FDCWD, self.constData(), m_dir, name.constData(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno == ENOENT) // no /proc
                linked = ::linkat(m_fd.get(), "", m_dir, name.constData(), AT_EMPTY_PATH);
            if (linked == 0) {
                m_name = name;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int m_dir;
    Descriptor m_fd;
    QByteArray m_name;
};

// The new page stands in for the old one: it keeps the old one's owner and group where this
// user may give them, and its permission bits, so a page that the web server could read stays
// readable to it. What cannot be kept leaves the new file's own.
void keepOwnerAndMode(int fd, const struct stat& old)
{
    struct stat now = {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither the owner nor the group could be given.
    }
    if (::fchmod(fd, old.st_mode & 0777) != 0) {
        // The file system keeps no such bits.
    }
}

// Room on the disk for the page's new length, before any byte of the old page is overwritten:
// 0, or the reason there is none. The room is taken where the file system can (fallocate), and
// else reckoned from its free blocks.
int reserveRoom(int fd, const struct stat& page, qsizetype length)
{
    if (length <= page.st_size)
        return 0;
    if (retried([&] { return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length); }) == 0)
        return 0;
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
        return errno;
    struct statvfs disk = {};
    if (::fstatvfs(fd, &disk) != 0)
        return 0; // not known: the writes are checked all the same
    const auto block = static_cast<qint64>(disk.f_frsize != 0 ? disk.f_frsize : disk.f_bsize);
    const qint64 held = static_cast<qint64>(page.st_blocks) * 512;
    const qint64 needed = (length + block - 1) / block * block - held;
    if (needed > 0 && needed > static_cast<qint64>(disk.f_bavail) * block)
        return ENOSPC;
    return 0;
}

// The page rewritten where it is, for a folder that takes no new file.
SaveResult writeInPlace(int dir, const QByteArray& entry, const QByteArray& page)
{
    // Opened without waiting (a FIFO put there since the check does not block) and without
    // following a link; then checked as what was opened.
    Descriptor fd(retried([&] {
        return ::openat(dir, entry.constData(),
                        O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }));
    if (!fd.isOpen())
        return failure(errno == ELOOP ? linkRefusal(dir, entry) : qt_error_string(errno));
    struct stat opened = {};
    if (::fstat(fd.get(), &opened) != 0)
        return failure(errno);
    if (!S_ISREG(opened.st_mode))
        return failure(kindRefusal(opened.st_mode));
    if (opened.st_nlink > 1)
        return failure(u"The folder takes no new file, and the page there has other names "
                       u"(hard links) too, which writing it in place would change as well. "
                       u"Choose another name."_s);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags == -1 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) == -1)
        return failure(errno);
    if (const int error = reserveRoom(fd.get(), opened, page.size()))
        return failure(error);

    PieceWriter writer(fd.get());
    int error = writer.write(QByteArrayView(page)) ? 0 : writer.error();
    const bool untouched = error != 0 && writer.written() == 0;
    if (error == 0 && retried([&] { return ::ftruncate(fd.get(), page.size()); }) != 0)
        error = errno;
    if (error == 0 && retried([&] { return ::fdatasync(fd.get()); }) != 0)
        error = errno;
    if (error == 0)
        error = fd.close();
    if (error == 0)
        return {true, {}};
    if (untouched)
        return failure(error);
    return failure(qt_error_string(error) + u"; the page may now be incomplete."_s);
}

// Makes the new name of the page last: a failure here changes nothing, as the page is in place
// and whole.
void syncFolder(int dir)
{
    const Descriptor folder(
        retried([&] { return ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (folder.isOpen())
        ::fsync(folder.get());
}

} // namespace

QString pageNameProblem(const QString& fileName)
{
    return nameProblem(trimBlanks(fileName));
}

SaveResult savePage(const QString& directory, const QString& fileName, const QByteArray& page)
{
    return savePage(directory, fileName,
                    [&page](const PageSink& sink) { return sink(QByteArrayView(page)); });
}

SaveResult savePage(const QString& directory, const QString& fileName, const PageSource& source)
{
    if (QString problem = nameProblem(trimBlanks(fileName)); !problem.isEmpty())
        return failure(std::move(problem));
    // Every step goes through this one folder, whatever becomes of its path meanwhile.
    const QByteArray folderPath = QFile::encodeName(directory);
    const Descriptor dir(
        retried([&] { return ::open(folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC); }));
    if (!dir.isOpen())
        return failure(u"Its folder cannot be opened: "_s + qt_error_string(errno));
    return savePageIn(dir.get(), fileName, source);
}

SaveResult savePageIn(int dir, const QString& fileName, const QByteArray& page,
                      Durability durability)
{
    return savePageIn(
        dir, fileName, [&page](const PageSink& sink) { return sink(QByteArrayView(page)); },
        durability);
}

std::optional<QByteArray> readFileIn(int dir, const QByteArray& name, qsizetype limit,
                                     bool* missing)
{
    const Descriptor fd(retried([&] {
        return ::openat(dir, name.constData(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }));
    if (missing != nullptr)
        *missing = !fd.isOpen() && errno == ENOENT;
    struct stat opened = {};
    if (!fd.isOpen() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return std::nullopt;
    QByteArray bytes(std::min<qsizetype>(limit, qsizetype(opened.st_size)), Qt::Uninitialized);
    qsizetype length = 0;
    while (length < bytes.size()) {
        const ssize_t n = retried([&] {
            return ::read(fd.get(), bytes.data() + length,
                          static_cast<std::size_t>(bytes.size() - length));
        });
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        length += n;
    }
    bytes.truncate(length);
    return bytes;
}

int syncFileSystem(int dir)
{
    return ::syncfs(dir) == 0 ? 0 : errno;
}

SaveResult savePageIn(int dir, const QString& fileName, const PageSource& source,
                      Durability durability)
{
    const QString name = trimBlanks(fileName);
    if (QString problem = nameProblem(name); !problem.isEmpty())
        return failure(std::move(problem));

    const QByteArray entry = QFile::encodeName(name);
    struct stat old = {};
    const bool exists = ::fstatat(dir, entry.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return failure(errno);
    if (exists && S_ISLNK(old.st_mode))
        return failure(linkRefusal(dir, entry));
    if (exists && !S_ISREG(old.st_mode))
        return failure(kindRefusal(old.st_mode));

    Draft draft(dir);
    if (const int error = draft.create()) {
        // A folder that takes no new file: the user's page there may still be written in place.
        if (exists && (error == EACCES || error == EPERM || error == EROFS))
            return writeInPlace(dir, entry, wholePage(source));
        return failure(error);
    }
    PieceWriter writer(draft.fd());
    if (!source([&writer](QByteArrayView piece) { return writer.write(piece); }))
        return failure(writer.error() != 0 ? writer.error() : EIO);
    if (exists)
        keepOwnerAndMode(draft.fd(), old);
    if (durability == Durability::Now && retried([&] { return ::fdatasync(draft.fd()); }) != 0)
        return failure(errno);
    if (const int error = draft.replace(entry)) {
        // A page that may be written but not replaced (another user's, in a folder with the
        // sticky bit) is rewritten where it is.
        if (exists && (error == EPERM || error == EACCES))
            return writeInPlace(dir, entry, wholePage(source));
        return failure(error);
    }
    if (durability == Durability::Now)
        syncFolder(dir);
    return {true, {}};
}

} // namespace vignetta
