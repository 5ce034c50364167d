#pragma once

#include "appex.h"
#include "copiespane.h"
#include "listingcomparison.h"

#include <QWidget>

#include <optional>

class QAction;
class DetailsText;

// Everything about the current record: its fields, its problems, every copy
// of its identifier, how it changed since an older listing, and the
// commands that elect it.
class DetailsPane : public QWidget
{
    Q_OBJECT

public:
    // `elections` act on the record's identifier, `copyElections` on the record alone.
    DetailsPane(const QList<QAction *> &elections, const QList<QAction *> &copyElections,
                QWidget *parent = nullptr);

    // Room for the fields' labels and a typical value.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    // Shows `record`, or that none is chosen when it is null. `older` is a
    // changed record's older self; `copies` are the records of its
    // identifier, in listing order, from `source`.
    void showRecord(const Appex *record, AppexChange change, const std::optional<Appex> &older,
                    const AppexList &copies, CopiesPane::Source source);
    // What the pane shows of the record itself, as HTML.
    [[nodiscard]] static QString describe(const Appex &record, AppexChange change,
                                          const std::optional<Appex> &older);

signals:
    // Showing a copy's folder said `note`.
    void noted(const QString &note);
    void useCopyRequested(const Appex &copy);
    void allCopiesRequested();

private:
    DetailsText *m_text;
    CopiesPane *m_copies;
    QWidget *m_elections;
};
