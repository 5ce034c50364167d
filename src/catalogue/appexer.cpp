#include "appexer.h"

#include "appexfield.h"
#include "sortorder.h"

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

void Appexer::setListing(AppexList records, QByteArray listing, const QString &file,
                         qint64 sortCode)
{
    beginResetModel();
    m_sortCode = sortCode;
    m_records = std::move(records);
    m_listingPositions = SortOrder::order(m_records, m_sortCode);
    SortOrder::apply(m_records, m_listingPositions);
    m_listing = std::move(listing);
    m_listingFile = file;
    compareRecords();
    endResetModel();
}

void Appexer::setBaseline(AppexList records, const QString &file)
{
    beginResetModel();
    m_baseline = std::move(records);
    m_baselineFile = file;
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

void Appexer::sortAppexList(qint64 sortCode)
{
    // The rows are always in the order of m_sortCode.
    if (sortCode == m_sortCode)
        return;
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
    return m_changes.empty() ? AppexChange::Unchanged
                             : m_changes[size_t(m_listingPositions[size_t(row)])];
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
    default:
        return {};
    }
}

void Appexer::compareRecords()
{
    m_changes.clear();
    m_older.clear();
    m_removed.clear();
    if (!m_baseline)
        return;
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

const Appex *Appexer::olderAt(int row) const
{
    if (row >= m_records.size())
        return nullptr;
    const auto older = m_older.constFind(m_listingPositions[size_t(row)]);
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
    emit dataChanged(index(0), index(int(m_records.size()) - 1));
}

Qt::ItemFlags Appexer::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags | Qt::ItemNeverHasChildren : flags;
}
