#include "outputfilewriter.h"

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

// As an editor does, the new file keeps the owner and group of the one it
// replaces where the process may give them (root may; others may keep a
// group they belong to). QSaveFile keeps the permissions.
void keepOwner(int fd, uid_t user, gid_t group)
{
    if (::fchown(fd, user, group) == 0)
        return;
    [[maybe_unused]] const int groupKept = ::fchown(fd, uid_t(-1), group);
}

} // namespace

OutputFileWriter::OutputFileWriter(const QString &path, OutputFile::SpecialFiles special,
                                   OutputFile::WriteFunction writeSome)
    : m_writeSome(std::move(writeSome))
{
    open(path, special);
}

OutputFileWriter::OutputFileWriter(int fd, OutputFile::WriteFunction writeSome)
    : m_writeSome(std::move(writeSome))
    , m_fd(fd)
{}

// An uncommitted replacement goes with its QSaveFile, which discards it.
OutputFileWriter::~OutputFileWriter()
{
    if (m_closesFd)
        ::close(m_fd);
}

void OutputFileWriter::open(const QString &path, OutputFile::SpecialFiles special)
{
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat status;
    if (::stat(nativePath.constData(), &status) != 0) {
        // A new file; but a loop of symbolic links is no file, and QSaveFile,
        // which follows links only so far, would replace the first link.
        if (errno != ENOENT)
            m_failure = qt_error_string(errno);
        else
            openReplacement(path, std::nullopt);
        return;
    }
    if (special == OutputFile::SpecialFiles::WriteAsStream) {
        if (const std::optional<int> stream = standardStreamOn(status)) {
            m_fd = *stream;
            return;
        }
    }
    if (!isSpecialFile(status))
        openReplacement(path, Owner{status.st_uid, status.st_gid});
    else if (special == OutputFile::SpecialFiles::Refuse)
        m_failure = tr("Not a regular file");
    else
        openInPlace(nativePath);
}

void OutputFileWriter::openReplacement(const QString &path, std::optional<Owner> replaced)
{
    // QSaveFile writes a temporary file beside the target (after following
    // symbolic links) and renames it over the target on commit. It has no
    // direct-write fallback here: writing in place would lose the earlier file
    // on a full disk.
    m_replacement = std::make_unique<QSaveFile>(path);
    if (!m_replacement->open(QIODevice::WriteOnly)) {
        m_failure = m_replacement->errorString();
        m_replacement.reset();
        return;
    }
    m_fd = int(m_replacement->handle());
    m_replacedOwner = replaced;
}

// A FIFO or device takes the bytes as they come: there is nothing to replace.
void OutputFileWriter::openInPlace(const QByteArray &nativePath)
{
    do
        m_fd = ::open(nativePath.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        m_failure = qt_error_string(errno);
    m_closesFd = m_fd >= 0;
}

// Past QIODevice, which reports a short write with no reason: this gives
// errno's.
std::optional<QString> OutputFileWriter::write(QByteArrayView piece)
{
    if (!m_failure)
        m_failure = writeAll(m_fd, piece, m_writeSome);
    return m_failure;
}

std::optional<QString> OutputFileWriter::commit()
{
    if (m_failure)
        return m_failure;
    if (m_replacement) {
        if (m_replacedOwner)
            keepOwner(m_fd, m_replacedOwner->user, m_replacedOwner->group);
        if (!m_replacement->commit())
            m_failure = m_replacement->errorString();
        m_replacement.reset();
    } else if (m_closesFd) {
        // After EINTR the descriptor is closed all the same, and nothing was lost.
        if (::close(m_fd) != 0 && errno != EINTR)
            m_failure = qt_error_string(errno);
        m_closesFd = false;
    }
    m_fd = -1;
    return m_failure;
}
