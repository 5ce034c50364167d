#include "outputfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes all of `data`, retrying short and interrupted writes.
std::optional<QString> writeAll(int fd, QByteArrayView data,
                                const OutputFile::WriteFunction &writeSome)
{
    const char *next = data.data();
    qint64 left = data.size();
    while (left > 0) {
        const qint64 written =
            writeSome ? writeSome(fd, next, left) : ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return qt_error_string(errno);
        // A write that takes nothing of a non-empty buffer would be retried for
        // ever; the device has no room left.
        if (written == 0)
            return qt_error_string(ENOSPC);
        next += written;
        left -= written;
    }
    return std::nullopt;
}

// Something other than a regular file or a folder: a FIFO, a device, a socket.
bool isSpecialFile(const struct stat &status)
{
    return !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

// The standard output or error when `status` is the file it is open on, as
// for /dev/stdout. Writing through that descriptor keeps what the shell chose:
// ">> log" appends, where replacing or reopening the file would lose the log.
std::optional<int> standardStreamOn(const struct stat &status)
{
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open;
        if (::fstat(fd, &open) == 0 && open.st_dev == status.st_dev && open.st_ino == status.st_ino)
            return fd;
    }
    return std::nullopt;
}

// A FIFO or device takes the bytes as they come: there is nothing to replace.
std::optional<QString> writeInPlace(const QByteArray &path, QByteArrayView data,
                                    const OutputFile::WriteFunction &writeSome)
{
    int fd = -1;
    do
        fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return qt_error_string(errno);
    std::optional<QString> failure = writeAll(fd, data, writeSome);
    // After EINTR the descriptor is closed all the same, and nothing was lost.
    if (::close(fd) != 0 && errno != EINTR && !failure)
        failure = qt_error_string(errno);
    return failure;
}

// As an editor does, the new file keeps the owner and group of the one it
// replaces where the process may give them (root may; others may keep a
// group they belong to). QSaveFile keeps the permissions.
void keepOwner(int fd, const struct stat &replaced)
{
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) == 0)
        return;
    [[maybe_unused]] const int groupKept = ::fchown(fd, uid_t(-1), replaced.st_gid);
}

// `replaced`: the file there now, if any.
std::optional<QString> replaceWhole(const QString &path, QByteArrayView data,
                                    const struct stat *replaced,
                                    const OutputFile::WriteFunction &writeSome)
{
    // QSaveFile writes a temporary file beside the target (after following
    // symbolic links) and renames it over the target on commit. It has no
    // direct-write fallback here: writing in place would lose the earlier file
    // on a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // QIODevice::write reports a short write with no reason; ours gives errno's.
    if (std::optional<QString> failure = writeAll(int(file.handle()), data, writeSome))
        return failure; // uncommitted, the temporary file is removed
    if (replaced)
        keepOwner(int(file.handle()), *replaced);
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace

namespace OutputFile {

std::optional<QString> write(const QString &path, QByteArrayView data, SpecialFiles special,
                             const WriteFunction &writeSome)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status;
    if (::stat(nativePath.constData(), &status) != 0) {
        // A new file; but a loop of symbolic links is no file, and QSaveFile,
        // which follows links only so far, would replace the first link.
        if (errno != ENOENT)
            return qt_error_string(errno);
        return replaceWhole(path, data, nullptr, writeSome);
    }
    if (special == SpecialFiles::WriteAsStream) {
        if (const std::optional<int> stream = standardStreamOn(status))
            return writeAll(*stream, data, writeSome);
    }
    if (!isSpecialFile(status))
        return replaceWhole(path, data, &status, writeSome);
    if (special == SpecialFiles::Refuse)
        return QCoreApplication::translate("OutputFile", "Not a regular file");
    return writeInPlace(nativePath, data, writeSome);
}

std::optional<QString> writeToStandardOutput(QByteArrayView data, const WriteFunction &writeSome)
{
    return writeAll(STDOUT_FILENO, data, writeSome);
}

} // namespace OutputFile
