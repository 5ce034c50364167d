#pragma once

#include "outputfilewriter.h"
#include "terminationsignals.h"

#include <QCoreApplication>

#include <optional>

// Where the output goes: standard output or the file of --output, each
// written a piece at a time as it comes. The file is replaced only once
// complete, so that a failure or an interruption leaves an earlier file as it
// was. A FIFO or a device as --output is written as a stream, as the shell's
// redirection would: never replaced.
class Output
{
    Q_DECLARE_TR_FUNCTIONS(Output)

public:
    explicit Output(QString file);

    [[nodiscard]] bool write(QByteArrayView piece);
    [[nodiscard]] bool finish();

private:
    // Told to end while writing: the rest is not written, the file not
    // replaced, and the signal ends the CLI once the tool's group is stopped.
    [[nodiscard]] static bool interrupted() { return TerminationSignals::received() != 0; }
    [[nodiscard]] bool succeeded(const std::optional<QString> &failure) const;

    QString m_file;                   // empty: standard output
    TerminationSignals m_termination; // caught while writing, to end as above
    std::optional<OutputFileWriter> m_writer;
};
