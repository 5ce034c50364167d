#include "appexer.h"

#include "appexfield.h"
#include "filesource.h"
#include "sortorder.h"
#include "toolsource.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace {

QString choiceArgument(Appexer::ElectionChoice choice)
{
    switch (choice) {
    case Appexer::ElectionChoice::Use:
        return QStringLiteral("use");
    case Appexer::ElectionChoice::Ignore:
        return QStringLiteral("ignore");
    case Appexer::ElectionChoice::Default:
        break;
    }
    return QStringLiteral("default");
}

QString readingText(const QString &fileName)
{
    return QStringLiteral("Reading \u201C%1\u201D").arg(QFileInfo(fileName).fileName());
}

QString toolTipOf(const Appex &record)
{
    QString rows;
    for (const AppexFieldInfo &field : appexFields) {
        rows += QStringLiteral("<tr><td><b>%1</b></td><td style=\"white-space:pre\">%2</td></tr>")
                    .arg(field.label, (record.*field.value).toHtmlEscaped());
    }
    return QStringLiteral("<table>%1</table>").arg(rows);
}

} // namespace

Appexer::Appexer(QString toolPath, ListingLimits limits, QObject *parent)
    : QAbstractListModel(parent)
    , m_toolPath(std::move(toolPath))
    , m_limits(limits)
{}

QString Appexer::defaultToolPath()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/pluginkit");
#else
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" ZEPHLIST_STAND_IN_FROM_BINDIR));
#endif
}

void Appexer::refresh(qint64 sortCode)
{
    m_sortCode = sortCode;
    startJob(toolSource({QStringLiteral("-m"), QStringLiteral("-vv")}),
             QStringLiteral("Running pluginkit"), Outcome::Replace, QString());
}

void Appexer::openListing(const QString &fileName, qint64 sortCode)
{
    m_sortCode = sortCode;
    startJob(std::make_unique<FileSource>(fileName), readingText(fileName), Outcome::Replace,
             fileName);
}

void Appexer::setElection(const QString &identifier, ElectionChoice choice, qint64 sortCode)
{
    m_sortCode = sortCode;
    startJob(
        toolSource(
            {QStringLiteral("-e"), choiceArgument(choice), QStringLiteral("-i"), identifier}),
        QStringLiteral("Running pluginkit -e %1 -i %2").arg(choiceArgument(choice), identifier),
        Outcome::Elected, QString());
}

void Appexer::compareWithListing(const QString &fileName)
{
    startJob(std::make_unique<FileSource>(fileName), readingText(fileName), Outcome::Baseline,
             fileName);
}

void Appexer::clearComparison()
{
    if (!m_baseline)
        return;
    beginResetModel();
    m_baseline.reset();
    m_baselineFile.clear();
    compareRecords();
    endResetModel();
}

void Appexer::cancel()
{
    if (m_job)
        m_job->cancel();
}

bool Appexer::getAppexes(qint64 sortCode)
{
    refresh(sortCode);
    return waitForJob();
}

bool Appexer::loadListing(const QString &fileName, qint64 sortCode)
{
    openListing(fileName, sortCode);
    return waitForJob();
}

bool Appexer::elect(const QString &identifier, ElectionChoice choice, qint64 sortCode)
{
    setElection(identifier, choice, sortCode);
    return waitForJob();
}

bool Appexer::waitForJob()
{
    bool succeeded = false;
    QEventLoop loop;
    connect(this, &Appexer::jobFinished, &loop, [&](bool outcome) {
        succeeded = outcome;
        if (!isBusy()) // an election goes on to refresh
            loop.quit();
    });
    if (isBusy())
        loop.exec();
    return succeeded;
}

void Appexer::sortAppexList(qint64 sortCode)
{
    m_sortCode = sortCode;
    if (m_records.size() < 2 && m_removed.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    const std::vector<qsizetype> order = SortOrder::order(m_records, sortCode);
    const std::vector<qsizetype> removedOrder = SortOrder::order(m_removed, sortCode);
    // The new row of each row, to move the indexes that views hold.
    std::vector<int> rowNow(order.size() + removedOrder.size());
    for (size_t row = 0; row < order.size(); ++row)
        rowNow[size_t(order[row])] = int(row);
    for (size_t row = 0; row < removedOrder.size(); ++row)
        rowNow[order.size() + size_t(removedOrder[row])] = int(order.size() + row);
    SortOrder::apply(m_records, order);
    SortOrder::apply(m_removed, removedOrder);
    std::vector<qsizetype> listingPositions(order.size());
    for (size_t row = 0; row < order.size(); ++row)
        listingPositions[row] = m_listingPositions[size_t(order[row])];
    m_listingPositions = std::move(listingPositions);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after << this->index(rowNow[size_t(index.row())]);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, VerticalSortHint);
}

qsizetype Appexer::changeCount(AppexChange change) const
{
    if (change == AppexChange::Removed)
        return m_removed.size();
    return std::count(m_changes.cbegin(), m_changes.cend(), change);
}

const Appex &Appexer::recordAt(int row) const
{
    return row < m_records.size() ? m_records[row] : m_removed[row - m_records.size()];
}

AppexChange Appexer::changeAt(int row) const
{
    if (row >= m_records.size())
        return AppexChange::Removed;
    return m_changes.value(m_records[row].id(), AppexChange::Unchanged);
}

int Appexer::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size() + m_removed.size());
}

QVariant Appexer::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Appex &record = recordAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return record.name;
    case Qt::ToolTipRole:
        return toolTipOf(record);
    case RecordRole:
        return QVariant::fromValue(record);
    case IdRole:
        return record.id();
    case ChangeRole:
        return int(changeAt(index.row()));
    default:
        return {};
    }
}

std::unique_ptr<ListingSource> Appexer::toolSource(QStringList arguments) const
{
    return std::make_unique<ToolSource>(m_toolPath, std::move(arguments), m_limits.timeout);
}

void Appexer::startJob(std::unique_ptr<ListingSource> source, QString busyText, Outcome outcome,
                       const QString &file)
{
    if (m_job)
        return;
    auto *job = new ListingJob(std::move(source), m_limits,
                               m_keepsListing && outcome == Outcome::Replace, this);
    connect(job, &ListingJob::finished, this,
            [this, job, outcome, file] { jobEnded(job, outcome, file); });
    m_job = job;
    m_busyText = std::move(busyText);
    emit busyChanged(true);
    job->start();
}

void Appexer::jobEnded(ListingJob *job, Outcome outcome, const QString &file)
{
    job->deleteLater();
    m_job = nullptr;
    m_busyText.clear();
    m_failureText = job->failureText();
    m_failureDetail = job->failureDetail();
    m_wasCancelled = job->wasCancelled();
    if (m_wasCancelled && outcome == Outcome::Elected)
        m_failureText = QStringLiteral("The election was cancelled.");

    if (job->succeeded()) {
        switch (outcome) {
        case Outcome::Replace:
            replaceRecords(job->takeRecords(), job->takeListing(), file);
            break;
        case Outcome::Baseline:
            beginResetModel();
            m_baseline = job->takeRecords();
            m_baselineFile = file;
            compareRecords();
            endResetModel();
            break;
        case Outcome::Elected:
            refresh(m_sortCode); // shows the election's effect
            break;
        }
    } else if (outcome == Outcome::Replace && file.isEmpty() && !job->wasCancelled()) {
        replaceRecords({}, {}, QString()); // a failed refresh leaves nothing
    }
    if (!m_job)
        emit busyChanged(false);
    emit jobFinished(job->succeeded());
}

void Appexer::replaceRecords(AppexList records, QByteArray listing, const QString &file)
{
    beginResetModel();
    m_records = std::move(records);
    m_listingPositions = SortOrder::order(m_records, m_sortCode);
    SortOrder::apply(m_records, m_listingPositions);
    m_listing = std::move(listing);
    m_listingFile = file;
    compareRecords();
    endResetModel();
}

void Appexer::compareRecords()
{
    m_changes.clear();
    m_removed.clear();
    if (!m_baseline)
        return;
    // Records pair up in the listings' own orders, whatever order shows them.
    for (ComparedAppex &compared : compareListings(*m_baseline, inListingOrder())) {
        if (compared.change == AppexChange::Removed)
            m_removed.append(std::move(compared.record));
        else
            m_changes.insert(compared.record.id(), compared.change);
    }
    SortOrder::apply(m_removed, SortOrder::order(m_removed, m_sortCode));
}

ListingRecords Appexer::inListingOrder() const
{
    std::vector<qsizetype> rowOf(m_listingPositions.size()); // of each listing position
    for (size_t row = 0; row < rowOf.size(); ++row)
        rowOf[size_t(m_listingPositions[row])] = qsizetype(row);
    return {m_records.size(), [this, rowOf = std::move(rowOf)](qsizetype i) -> const Appex & {
                return m_records[rowOf[size_t(i)]];
            }};
}
