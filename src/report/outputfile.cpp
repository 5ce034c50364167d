#include "outputfile.h"

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

// Whether `path` exists, after any symbolic links, as something other than a
// regular file or a folder.
bool isSpecialFile(const QByteArray &path)
{
    struct stat status;
    return ::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode) &&
           !S_ISDIR(status.st_mode);
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

std::optional<QString> replaceWhole(const QString &path, QByteArrayView data,
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
    if (!isSpecialFile(nativePath))
        return replaceWhole(path, data, writeSome);
    if (special == SpecialFiles::Refuse)
        return QStringLiteral("Not a regular file");
    return writeInPlace(nativePath, data, writeSome);
}

std::optional<QString> writeToStandardOutput(QByteArrayView data, const WriteFunction &writeSome)
{
    return writeAll(STDOUT_FILENO, data, writeSome);
}

} // namespace OutputFile
