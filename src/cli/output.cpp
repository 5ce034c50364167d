#include "output.h"

#include "messages.h"

#include <unistd.h>

Output::Output(QString file)
    : m_file(std::move(file))
{
    if (m_file.isEmpty())
        m_writer.emplace(STDOUT_FILENO);
    else
        m_writer.emplace(m_file, OutputFile::SpecialFiles::WriteAsStream);
}

bool Output::write(QByteArrayView piece)
{
    return !interrupted() && succeeded(m_writer->write(piece));
}

bool Output::finish()
{
    return !interrupted() && succeeded(m_writer->commit());
}

bool Output::succeeded(const std::optional<QString> &failure) const
{
    if (!failure)
        return true;
    // A write that a signal cut short needs no word: the signal says it.
    if (!interrupted())
        Messages::printError(m_file.isEmpty()
                                 ? tr("cannot write to standard output: %1").arg(*failure)
                                 : tr("cannot write %1: %2").arg(m_file, *failure));
    return false;
}
