#include "listingjob.h"

#include "filesource.h"
#include "listingreader.h"
#include "toolsource.h"

#include <QFileInfo>

namespace {

QStringList argumentsOf(bool allCopies)
{
    if (allCopies)
        return {QStringLiteral("-m"), QStringLiteral("-A"), QStringLiteral("-D"),
                QStringLiteral("-vv")};
    return {QStringLiteral("-m"), QStringLiteral("-vv")};
}

} // namespace

std::unique_ptr<ListingJob> ListingJob::ofTool(QString toolPath, Copies copies,
                                               ListingLimits limits)
{
    const Run first = copies == Copies::All ? Run::InUse : Run::Tool;
    return std::unique_ptr<ListingJob>(new ListingJob(std::move(toolPath), first, limits));
}

std::unique_ptr<ListingJob> ListingJob::ofFile(QString file, ListingLimits limits, QString subject)
{
    return std::unique_ptr<ListingJob>(
        new ListingJob(std::move(file), Run::File, limits, std::move(subject)));
}

ListingJob::ListingJob(QString toolOrFile, Run firstRun, ListingLimits limits, QString subject)
    : m_toolOrFile(std::move(toolOrFile))
    , m_limits(limits)
    , m_subject(std::move(subject))
    , m_run(firstRun)
{}

ListingJob::~ListingJob() = default;

QString ListingJob::description() const
{
    if (m_run == Run::File)
        return tr("Reading \u201C%1\u201D").arg(QFileInfo(m_toolOrFile).fileName());
    return tr("Running pluginkit");
}

void ListingJob::start()
{
    startRun(m_run);
}

void ListingJob::startRun(Run run)
{
    m_run = run;
    std::unique_ptr<ListingSource> source;
    ListingLimits limits = m_limits;
    if (run == Run::File) {
        source = std::make_unique<FileSource>(m_toolOrFile, m_subject);
    } else {
        source = std::make_unique<ToolSource>(m_toolOrFile, argumentsOf(run == Run::AllCopies),
                                              m_limits.timeout);
        if (run == Run::InUse)
            limits.keepsListing = false; // its UUIDs are all it gives
    }
    m_reader = std::make_unique<ListingReader>(std::move(source), limits);
    if (run == Run::AllCopies)
        m_reader->setInUseUuids(m_inUseUuids);
    connect(m_reader.get(), &ListingReader::finished, this, &ListingJob::runEnded);
    m_reader->start();
}

void ListingJob::cancel()
{
    if (m_reader && !m_ended)
        m_reader->cancel();
}

void ListingJob::runEnded()
{
    if (!m_reader->succeeded()) {
        end(JobFailure{m_reader->failureText(), m_reader->detail(), m_reader->wasCancelled()});
        return;
    }
    if (std::optional<JobFailure> failure = emptinessFailure()) {
        end(std::move(*failure));
        return;
    }
    if (m_run == Run::InUse) {
        for (const Appex &record : m_reader->takeRecords())
            m_inUseUuids.insert(record.bytes(AppexField::Uuid).toByteArray());
        // The reader goes once the next has taken its place: it may still be
        // in the middle of telling this job that it finished.
        ListingReader *done = m_reader.release();
        done->setParent(this);
        done->deleteLater();
        startRun(Run::AllCopies);
        return;
    }
    Listing listing{m_reader->takeRecords(), m_reader->takeListing(),
                    m_run == Run::File ? m_toolOrFile : QString()};
    end(std::move(listing));
}

// A listing without a record is an answer only when the tool says that
// nothing matched; else it says what went wrong, or nothing at all.
std::optional<JobFailure> ListingJob::emptinessFailure() const
{
    if (m_reader->recordCount() > 0)
        return std::nullopt;
    if (m_run == Run::File)
        return JobFailure{tr("\u201C%1\u201D holds no extension entries. Zephlist reads what "
                             "`pluginkit -m`, `-m -v` and `-m -vv` print.")
                              .arg(QFileInfo(m_toolOrFile).fileName()),
                          {}};
    const QString said =
        (QString::fromUtf8(m_reader->leadingText()).trimmed() + u'\n' + m_reader->detail())
            .trimmed();
    if (said == QLatin1String("(no matches)"))
        return std::nullopt;
    if (said.contains(QLatin1String("Connection invalid")))
        return JobFailure{tr("pluginkit could not reach the extension registry. It must run in "
                             "the session of the user who is logged in."),
                          said};
    return JobFailure{tr("pluginkit listed no extensions."), said};
}

void ListingJob::end(ListingResult result)
{
    if (std::exchange(m_ended, true))
        return;
    emit finished(result);
}
