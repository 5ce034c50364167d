#pragma once

#include "appex.h"
#include "appexfield.h"
#include "listingcomparison.h"
#include "listingjob.h"
#include "sortranks.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QSet>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// The UTF-8 size of each text field of a record, by AppexField, at most
// 65535: what a view reads of every row to find its longest rows, which a
// QVariant holds without an allocation, where a whole Appex needs one.
using FieldSizes = std::array<quint16, appexFields.size()>;
[[nodiscard]] FieldSizes fieldSizes(const Appex &record);

// The catalogue of one main window: the records of the last listing, sorted,
// and the moment the catalogue was made. It is the model of the window's
// list, one row per record: reset once per listing, its layout changed once
// per sort. It only holds and sorts; CatalogueController fills it.
//
// Compared with an older listing, the rows mark the records added or changed
// since, and rows for the records removed since sort among them by their
// last values.
class Appexer : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        RecordRole = Qt::UserRole, // the row's Appex
        ChangeRole,                // an AppexChange, as an int
        OlderRole,                 // a changed row's older Appex; null for any other
        // Cheap to read for every row, where a whole Appex would be dear:
        KeyRole,      // recordKey(), an int
        ProblemsRole, // the record's AppexProblems, as an int
        PointRole,    // an int that the records of one extension point share, and no others
        SizesRole,    // the record's FieldSizes
    };

    using QAbstractListModel::QAbstractListModel;
    ~Appexer() override;

    [[nodiscard]] const AppexList &appexList() const { return m_records; }
    [[nodiscard]] QDateTime theDate() const { return m_theDate; }
    // The file of the captured listing shown; empty for the tool's.
    [[nodiscard]] QString listingFile() const { return m_listingFile; }
    // The listing's bytes exactly as read, which the records share.
    [[nodiscard]] const QByteArray &listing() const { return m_listing; }

    // Replaces the records with those of a listing, then sorts them.
    void setListing(Listing listing);
    // Marks the records against an older listing's.
    void setBaseline(Listing older);
    void clearComparison();

    void sortAppexList(SortCode sortCode);
    // An order of the caller's, which while it is set orders the rows
    // instead of the sort code: each record's rank, by record key (KeyRole),
    // either way. A new listing or comparison ends it, its records being others.
    struct RankOrder
    {
        std::shared_ptr<const SortRanks::Ranks> ranks; // shared with the caller's
        Qt::SortOrder order = Qt::AscendingOrder;
    };
    void setRankOrder(std::optional<RankOrder> order);
    // Marks the records at `paths` as having `problem`: one change of the data.
    void addProblem(const QSet<QByteArray> &paths, AppexProblem problem);
    [[nodiscard]] SortCode sortCode() const { return m_sortCode; }
    // Makes on a thread of the pool what the sort codes and PointRole need
    // and have not made yet, while the records are shown: the first sort by
    // another field, or the first category chosen, then costs what a later
    // one does. What a new listing or comparison makes stale is dropped.
    void prepareOrders();

    // The records in the order the listing gave them.
    [[nodiscard]] ListingRecords inListingOrder() const;

    [[nodiscard]] bool isComparing() const { return m_baseline.has_value(); }
    // The older listing's file, and how many records differ in each way.
    [[nodiscard]] QString baselineFile() const { return m_baselineFile; }
    [[nodiscard]] qsizetype changeCount(AppexChange change) const;

    // The record of a row and how it changed.
    [[nodiscard]] const Appex &recordAt(int row) const;
    [[nodiscard]] AppexChange changeAt(int row) const;
    // The older record of a changed row; null for any other.
    [[nodiscard]] const Appex *olderAt(int row) const;
    // A number for the record of a row that no sort changes: its place in
    // the listing, or for a removed record, past the listing's records.
    [[nodiscard]] int recordKey(int row) const;
    // The records of every row by their keys.
    [[nodiscard]] ListingRecords byRecordKey() const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;

private:
    struct PreparedOrders
    {
        std::vector<std::pair<AppexField, SortRanks::Ranks>> sorts;
        std::optional<SortRanks::Ranks> points;
    };
    [[nodiscard]] static SortRanks::Ranks pointRanksOf(const ListingRecords &records);

    // Marks the records against the baseline, then sorts the rows.
    void compareRecords();
    void markChanges();
    // Sorts the rows, telling the views.
    void reorder();
    // Sorts the rows; returns the new row of each row.
    std::vector<int> arrange();
    // Where a row's record is: an index of m_records, or ~ an index of m_removed.
    [[nodiscard]] qsizetype entryAt(int row) const;
    [[nodiscard]] const SortRanks::Ranks &pointRanks() const;

    const QDateTime m_theDate = QDateTime::currentDateTime();
    SortCode m_sortCode = SortCode::SDK;
    std::optional<RankOrder> m_rankOrder;

    AppexList m_records;
    std::vector<qsizetype> m_listingPositions; // of the records, in the listing
    QByteArray m_listing;
    QString m_listingFile;

    std::optional<AppexList> m_baseline; // in listing order
    QString m_baselineFile;
    AppexList m_removed; // in the older listing's order
    // The entry of each row while there are removed records; none without.
    std::vector<qsizetype> m_rowEntries;
    // What prepareOrders() is making, cancelled when the records go.
    QFuture<PreparedOrders> m_preparing;
    SortRanks m_sortRanks; // by record key
    // Of the records' extension points by their bytes, made when first asked for.
    mutable std::optional<SortRanks::Ranks> m_pointRanks;
    std::vector<AppexChange> m_changes; // by listing position
    QHash<qsizetype, Appex> m_older;    // of the changed records, by listing position
};

Q_DECLARE_METATYPE(Appex)
