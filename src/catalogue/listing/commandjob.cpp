#include "commandjob.h"

#include "toolsource.h"

CommandJob::CommandJob(QString toolPath, QStringList arguments, std::chrono::milliseconds timeout)
    : m_arguments(arguments)
    , m_source(std::make_unique<ToolSource>(std::move(toolPath), std::move(arguments), timeout))
{
    connect(m_source.get(), &ListingSource::bytesRead, this, [this](QByteArrayView bytes) {
        const qsizetype room = keptOutputBytes - m_output.size();
        m_output += bytes.first(std::min(room, bytes.size()));
    });
    connect(m_source.get(), &ListingSource::finished, this, &CommandJob::sourceFinished);
}

CommandJob::~CommandJob() = default;

void CommandJob::start()
{
    m_source->start();
}

void CommandJob::cancel()
{
    if (std::exchange(m_ended, true))
        return;
    m_source->abort();
    emit finished(JobFailure{tr("The command was cancelled."), {}, true});
}

QString CommandJob::description() const
{
    return tr("Running pluginkit %1").arg(m_arguments.join(u' '));
}

void CommandJob::sourceFinished(const std::optional<QString> &failure, const QString &detail)
{
    m_ended = true;
    const QString said = (QString::fromUtf8(m_output).trimmed() + u'\n' + detail).trimmed();
    if (failure)
        emit finished(JobFailure{*failure, said});
    else
        emit finished(said);
}
