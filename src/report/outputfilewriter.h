#pragma once

#include "outputfile.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

#include <memory>
#include <optional>

#include <sys/types.h>

class QSaveFile;

// A file written a piece at a time, as it is made, with the guarantees of
// OutputFile::write. A regular file, or a new one, is written into a
// temporary file beside it, which replaces it on commit(), synced to disk
// first (as QSaveFile does), keeping its permissions, and its owner and group
// where the process may give them; a writer that fails or is destroyed
// uncommitted leaves the file as it was and no temporary file (on Linux the
// temporary file has no name until commit(), so not even a process killed
// midway leaves one). A symbolic link stays a link and its target is
// written. A FIFO, a device or an open descriptor such as standard output
// takes the pieces as they come.
class OutputFileWriter
{
    Q_DECLARE_TR_FUNCTIONS(OutputFileWriter)

public:
    // Opens `path`; a failure is given by the first write() or commit().
    OutputFileWriter(const QString &path, OutputFile::SpecialFiles special,
                     OutputFile::WriteFunction writeSome = {});
    // Writes to `fd`, open already and left open: standard output.
    explicit OutputFileWriter(int fd, OutputFile::WriteFunction writeSome = {});
    ~OutputFileWriter();
    OutputFileWriter(const OutputFileWriter &) = delete;
    OutputFileWriter &operator=(const OutputFileWriter &) = delete;

    // Writes the whole of `piece`. std::nullopt on success, otherwise why it
    // failed; after a failure every later call gives it again.
    [[nodiscard]] std::optional<QString> write(QByteArrayView piece);
    // Once every piece is written: replaces the file with them, or closes the
    // FIFO or device. std::nullopt on success, otherwise why it failed.
    [[nodiscard]] std::optional<QString> commit();

private:
    struct Owner
    {
        uid_t user;
        gid_t group;
    };

    void open(const QString &path, OutputFile::SpecialFiles special);
    void openReplacement(const QString &path, std::optional<Owner> replaced);
    void openInPlace(const QByteArray &nativePath);

    OutputFile::WriteFunction m_writeSome;
    std::unique_ptr<QSaveFile> m_replacement; // of a regular file, until committed
    std::optional<Owner> m_replacedOwner;
    int m_fd = -1;           // where the pieces go
    bool m_closesFd = false; // a FIFO or device opened here
    std::optional<QString> m_failure;
};
