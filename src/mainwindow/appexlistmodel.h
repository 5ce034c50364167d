#pragma once

#include "appex.h"
#include "messagerow.h"

#include <QAbstractListModel>

// The records that the list shows, as a snapshot: the window hands it a copy
// of the catalogue or of the search results at each redraw, so the list never
// refers to a record that the catalogue has dropped.
class AppexListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        MessageRowRole = Qt::UserRole, // the row's MessageRow
        IdRole,                        // the record's identity, a QUuid
    };

    using QAbstractListModel::QAbstractListModel;

    // `isSearching`: the records are search results, whose rows show the UUID.
    void setRecords(AppexList records, bool isSearching);
    void setDisplay(bool showPaths, bool showUUID);

    [[nodiscard]] const AppexList &records() const { return m_records; }

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;

private:
    [[nodiscard]] MessageRow rowAt(int row) const;

    AppexList m_records;
    bool m_isSearching = false;
    bool m_showPaths = false;
    bool m_showUUID = false;
};
