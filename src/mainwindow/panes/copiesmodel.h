#pragma once

#include "copiesexplanation.h"

#include <QAbstractTableModel>

#include <optional>

// The copies of one extension as a table: the copy in use first, in bold,
// then those the system does not use, faded; each with its version, the
// folder of its app (the whole path in its tip), why it is not used and the day it was registered
// (the time too in its tip).
class CopiesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Use, Version, Folder, Why, Registered };
    static constexpr int columnTotal = Registered + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // Shows `explanation`'s copies; none without one.
    void setExplanation(std::optional<CopiesExplanation> explanation);
    [[nodiscard]] const std::optional<CopiesExplanation> &explanation() const
    {
        return m_explanation;
    }
    // The copy of a row; null for none.
    [[nodiscard]] const CopiesExplanation::Copy *copyAt(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // The folder a copy's row shows: the one that holds its app, or where no
    // app holds it, the one that holds the extension.
    [[nodiscard]] static QString folderShown(const QString &path);

private:
    [[nodiscard]] static QString textOf(int column, const CopiesExplanation::Copy &copy);

    std::optional<CopiesExplanation> m_explanation;
};
