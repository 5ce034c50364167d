#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// The one way the app and zephlist-cli write a file, whole here or a piece at
// a time with OutputFileWriter. A failure is given in the system's words ("No
// space left on device") and never loses an earlier file.
namespace OutputFile {

// What to do when the target exists and is neither a regular file nor a
// folder: a FIFO, a device, /dev/stdout on a pipe.
enum class SpecialFiles {
    Refuse, // fail: a save dialog means a document, not a device
    // Open it and write in place, as a shell redirection does. A target that
    // standard output or error is open on (/dev/stdout, or the file they are
    // redirected to) is written through that descriptor, so ">> log" appends.
    WriteAsStream,
};

// Writes up to `size` bytes to `fd` as ::write does: the count written, or -1
// with errno set. Tests inject short and failing writes.
using WriteFunction = std::function<qint64(int fd, const char *data, qint64 size)>;

// Writes `data` to `path`. A regular file, or a new one, is replaced only once
// the whole of `data` is written, keeping its permissions; a symbolic link
// stays a link and its target is written. Returns std::nullopt on success,
// otherwise why it failed.
[[nodiscard]] std::optional<QString> write(const QString &path, QByteArrayView data,
                                           SpecialFiles special,
                                           const WriteFunction &writeSome = {});

} // namespace OutputFile
