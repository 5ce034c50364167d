#include "listingloader.h"

#include "copyannotation.h"
#include "filesource.h"
#include "toolsource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString choiceArgument(ListingLoader::ElectionChoice choice)
{
    switch (choice) {
    case ListingLoader::ElectionChoice::Use:
        return QStringLiteral("use");
    case ListingLoader::ElectionChoice::Ignore:
        return QStringLiteral("ignore");
    case ListingLoader::ElectionChoice::Default:
        break;
    }
    return QStringLiteral("default");
}

} // namespace

ListingLoader::ListingLoader(QString toolPath, ListingLimits limits, QObject *parent)
    : QObject(parent)
    , m_toolPath(std::move(toolPath))
    , m_limits(limits)
{}

QString ListingLoader::defaultToolPath()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/pluginkit");
#else
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" ZEPHLIST_STAND_IN_FROM_BINDIR));
#endif
}

void ListingLoader::readTool(Copies copies)
{
    if (copies == Copies::All) {
        start(toolSource({QStringLiteral("-m"), QStringLiteral("-A"), QStringLiteral("-D"),
                          QStringLiteral("-vv")}),
              tr("Running pluginkit"), Kind::AllCopies);
        return;
    }
    start(toolSource({QStringLiteral("-m"), QStringLiteral("-vv")}), tr("Running pluginkit"),
          Kind::Listing);
}

void ListingLoader::readFile(const QString &fileName)
{
    start(std::make_unique<FileSource>(fileName),
          tr("Reading \u201C%1\u201D").arg(QFileInfo(fileName).fileName()), Kind::Listing);
}

void ListingLoader::elect(const QString &target, ElectionChoice choice, ElectionTarget kind)
{
    const QString argument = choiceArgument(choice);
    const QString option =
        kind == ElectionTarget::Copy ? QStringLiteral("-u") : QStringLiteral("-i");
    start(toolSource({QStringLiteral("-e"), argument, option, target}),
          tr("Running pluginkit -e %1 %2 %3").arg(argument, option, target), Kind::Election);
}

void ListingLoader::cancel()
{
    if (m_job)
        m_job->cancel();
}

std::unique_ptr<ListingSource> ListingLoader::toolSource(QStringList arguments) const
{
    return std::make_unique<ToolSource>(m_toolPath, std::move(arguments), m_limits.timeout);
}

void ListingLoader::start(std::unique_ptr<ListingSource> source, QString busyText, Kind kind)
{
    if (m_job)
        return;
    auto *job = new ListingJob(std::move(source), m_limits, this);
    connect(job, &ListingJob::finished, this, [this, job, kind] { ended(job, kind); });
    m_job = job;
    m_busyText = std::move(busyText);
    emit busyChanged(true);
    job->start();
}

void ListingLoader::ended(ListingJob *job, Kind kind)
{
    job->deleteLater();
    m_job = nullptr;
    m_busyText.clear();
    m_failureText = job->failureText();
    m_failureDetail = job->failureDetail();
    m_wasCancelled = job->wasCancelled();
    if (m_wasCancelled && kind == Kind::Election)
        m_failureText = tr("The election was cancelled.");
    if (kind == Kind::InUse && job->succeeded()) {
        // Every copy was read first: those listed now are the ones in use.
        QSet<QByteArray> inUse;
        for (const Appex &record : job->takeRecords())
            inUse.insert(record.bytes(AppexField::Uuid).toByteArray());
        CopyAnnotation::annotate(m_records, inUse);
    } else {
        m_records = job->takeRecords();
        m_listing = job->takeListing();
    }
    if (kind == Kind::AllCopies && job->succeeded()) {
        start(toolSource({QStringLiteral("-m"), QStringLiteral("-vv")}), tr("Running pluginkit"),
              Kind::InUse);
        return;
    }
    if (!job->succeeded()) {
        m_records.clear();
        m_listing.clear();
    }
    if (kind == Kind::Election)
        emit electionFinished(job->succeeded());
    else
        emit listingFinished(job->succeeded());
    if (!m_job) // a receiver may have started the next job
        emit busyChanged(false);
}
