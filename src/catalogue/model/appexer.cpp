#include "appexer.h"

#include "appexfield.h"
#include "sortorder.h"
#include "sparetime.h"

#include <numeric>

namespace {

// Every field, and for a changed record the older value of each field that
// changed: "28.0 → 28.0.1".
QString toolTipOf(const Appex &record, const Appex *older)
{
    const QList<AppexField> changed = older ? changedFields(*older, record) : QList<AppexField>();
    QString rows;
    for (const AppexFieldInfo &field : appexFields) {
        QString value = record.text(field.field).toHtmlEscaped();
        if (changed.contains(field.field))
            value = older->text(field.field).toHtmlEscaped() + QStringLiteral(" \u2192 ") + value;
        rows += QStringLiteral("<tr><td><b>%1</b></td><td style=\"white-space:pre\">%2</td></tr>")
                    .arg(fieldLabel(field), value);
    }
    return QStringLiteral("<table>%1</table>").arg(rows);
}

} // namespace

FieldSizes fieldSizes(const Appex &record)
{
    FieldSizes sizes{};
    for (const AppexFieldInfo &field : appexFields)
        sizes[size_t(field.field)] =
            quint16(std::min<qsizetype>(record.bytes(field.field).size(), 0xffff));
    return sizes;
}

void Appexer::setListing(Listing listing)
{
    beginResetModel();
    m_records = std::move(listing.records);
    m_listingPositions.resize(size_t(m_records.size()));
    std::iota(m_listingPositions.begin(), m_listingPositions.end(), 0);
    m_listing = std::move(listing.bytes);
    m_listingFile = std::move(listing.file);
    compareRecords();
    endResetModel();
}

void Appexer::setBaseline(Listing older)
{
    beginResetModel();
    m_baseline = std::move(older.records);
    m_baselineFile = std::move(older.file);
    compareRecords();
    endResetModel();
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

void Appexer::sortAppexList(SortCode sortCode)
{
    // The rows are always in the order of m_sortCode, or of m_rankOrder.
    if (sortCode == m_sortCode)
        return;
    m_sortCode = sortCode;
    if (!m_rankOrder)
        reorder();
}

void Appexer::setRankOrder(std::optional<RankOrder> order)
{
    if (!order && !m_rankOrder)
        return;
    m_rankOrder = std::move(order);
    reorder();
}

void Appexer::reorder()
{
    if (rowCount() < 2)
        return;
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    // The new row of each row, to move the indexes that views hold.
    const std::vector<int> rowNow = arrange();
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

std::vector<int> Appexer::arrange()
{
    // One order over the records and the removed ones, keyed in the rows'
    // order now, so that ties keep it.
    const int rows = rowCount();
    std::vector<qsizetype> keys(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        keys[size_t(row)] = recordKey(row);
    const std::vector<qsizetype> order = // the rows as they are, in their new order
        m_rankOrder ? SortRanks::order(keys, *m_rankOrder->ranks, m_rankOrder->order)
                    : m_sortRanks.order(byRecordKey(), keys, m_sortCode);
    std::vector<int> rowNow(order.size());
    std::vector<qsizetype> recordOrder;
    recordOrder.reserve(size_t(m_records.size()));
    std::vector<qsizetype> entries;
    for (size_t row = 0; row < order.size(); ++row) {
        const auto oldRow = int(order[row]);
        rowNow[size_t(oldRow)] = int(row);
        const qsizetype entry = entryAt(oldRow);
        if (!m_removed.isEmpty())
            entries.push_back(entry >= 0 ? qsizetype(recordOrder.size()) : entry);
        if (entry >= 0)
            recordOrder.push_back(entry);
    }
    SortOrder::apply(m_records, recordOrder);
    std::vector<qsizetype> listingPositions(recordOrder.size());
    for (size_t row = 0; row < recordOrder.size(); ++row)
        listingPositions[row] = m_listingPositions[size_t(recordOrder[row])];
    m_listingPositions = std::move(listingPositions);
    m_rowEntries = std::move(entries);
    return rowNow;
}

qsizetype Appexer::entryAt(int row) const
{
    if (!m_rowEntries.empty())
        return m_rowEntries[size_t(row)];
    return row < m_records.size() ? row : ~(row - m_records.size());
}

const Appex &Appexer::recordAt(int row) const
{
    const qsizetype entry = entryAt(row);
    return entry >= 0 ? m_records[entry] : m_removed[~entry];
}

AppexChange Appexer::changeAt(int row) const
{
    const qsizetype entry = entryAt(row);
    if (entry < 0)
        return AppexChange::Removed;
    return m_changes.empty() ? AppexChange::Unchanged
                             : m_changes[size_t(m_listingPositions[size_t(entry)])];
}

int Appexer::recordKey(int row) const
{
    const qsizetype entry = entryAt(row);
    return int(entry >= 0 ? m_listingPositions[size_t(entry)] : m_records.size() + ~entry);
}

int Appexer::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size() + m_removed.size());
}

QVariant Appexer::data(const QModelIndex &index, int role) const
{
    // Asked of every row of a large catalogue: the row alone is checked, where
    // checkIndex() would ask for the index's parent and the model's size again.
    if (!index.isValid() || index.model() != this || index.row() >= rowCount())
        return {};
    const Appex &record = recordAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return record.name();
    case Qt::ToolTipRole:
        return toolTipOf(record, olderAt(index.row()));
    case RecordRole:
        return QVariant::fromValue(record);
    case ChangeRole:
        return int(changeAt(index.row()));
    case OlderRole:
        if (const Appex *older = olderAt(index.row()))
            return QVariant::fromValue(*older);
        return {};
    case KeyRole:
        return recordKey(index.row());
    case ProblemsRole:
        return record.problems().toInt();
    case PointRole:
        return int(pointRanks().ofKey[size_t(recordKey(index.row()))]);
    case SizesRole:
        return QVariant::fromValue(fieldSizes(record));
    default:
        return {};
    }
}

Appexer::~Appexer()
{
    m_preparing.cancel();
}

void Appexer::prepareOrders()
{
    std::vector<AppexField> fields = m_sortRanks.fieldsWithoutRanks();
    const bool points = !m_pointRanks;
    const bool underWay = !m_preparing.isCanceled() && !m_preparing.isFinished();
    if (underWay || rowCount() < 2 || (fields.empty() && !points))
        return;
    m_preparing = runInSpareTime(
        this,
        [records = byRecordKey(), fields = std::move(fields), points](const StopAsked &stopAsked) {
            PreparedOrders prepared;
            for (const AppexField field : fields) {
                if (stopAsked())
                    return prepared;
                prepared.sorts.emplace_back(field, SortRanks::textRanks(records, field));
            }
            if (points && !stopAsked())
                prepared.points = pointRanksOf(records);
            return prepared;
        },
        [this](PreparedOrders prepared) {
            for (auto &sort : prepared.sorts)
                m_sortRanks.adopt(sort.first, std::move(sort.second));
            if (!m_pointRanks)
                m_pointRanks = std::move(prepared.points);
        });
}

void Appexer::compareRecords()
{
    m_preparing.cancel(); // made for records that go
    m_changes.clear();
    m_older.clear();
    m_removed.clear();
    m_rowEntries.clear();
    m_sortRanks.clear();
    m_pointRanks.reset();
    m_rankOrder.reset();
    if (m_baseline)
        markChanges();
    arrange();
}

void Appexer::markChanges()
{
    m_changes.assign(m_listingPositions.size(), AppexChange::Unchanged);
    // Records pair up in the listings' own orders, whatever order shows them.
    for (ComparedAppex &compared : compareListings(*m_baseline, inListingOrder())) {
        if (compared.change == AppexChange::Removed)
            m_removed.append(std::move(compared.record));
        else
            m_changes[size_t(compared.listingPosition)] = compared.change;
        if (compared.older)
            m_older.insert(compared.listingPosition, std::move(*compared.older));
    }
}

ListingRecords Appexer::inListingOrder() const
{
    ListingRecords records = byRecordKey();
    records.count = m_records.size();
    return records;
}

// The lists are held by copies, which share them: what they give stays as it
// is if the rows move or change later, and may be read on another thread.
ListingRecords Appexer::byRecordKey() const
{
    std::vector<qsizetype> indexOf(m_listingPositions.size()); // of each listing position
    for (size_t entry = 0; entry < indexOf.size(); ++entry)
        indexOf[size_t(m_listingPositions[entry])] = qsizetype(entry);
    return {m_records.size() + m_removed.size(),
            [records = m_records, removed = m_removed,
             indexOf = std::move(indexOf)](qsizetype key) -> const Appex & {
                return key < records.size() ? records[indexOf[size_t(key)]]
                                            : removed[key - records.size()];
            }};
}

// Read in the listing's order, where the points lie one after another: a
// window that narrows to a category asks for every row's, in any order.
const SortRanks::Ranks &Appexer::pointRanks() const
{
    if (!m_pointRanks)
        m_pointRanks = pointRanksOf(byRecordKey());
    return *m_pointRanks;
}

SortRanks::Ranks Appexer::pointRanksOf(const ListingRecords &records)
{
    return SortRanks::ranks(records, AppexField::Point, [](std::string &key, QByteArrayView point) {
        key.append(point.data(), size_t(point.size()));
    });
}

const Appex *Appexer::olderAt(int row) const
{
    const qsizetype entry = entryAt(row);
    if (entry < 0)
        return nullptr;
    const auto older = m_older.constFind(m_listingPositions[size_t(entry)]);
    return older == m_older.cend() ? nullptr : &*older;
}

void Appexer::addProblem(const QSet<QByteArray> &paths, AppexProblem problem)
{
    if (paths.isEmpty() || m_records.isEmpty())
        return;
    for (Appex &record : m_records) {
        if (paths.contains(record.bytes(AppexField::Path).toByteArray()))
            record.setProblems(record.problems() | problem);
    }
    emit dataChanged(index(0), index(rowCount() - 1));
}
