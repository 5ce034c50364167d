#pragma once

#include "copiesexplanation.h"

#include <QWidget>

class CopiesModel;
class QAction;
class QLabel;
class QTreeView;

// Every copy of the chosen extension, in a table, with what can be done to
// one of them: use it instead, or show its folder. Where the listing holds
// only the copies in use, it says that others may be registered, with a
// link that lists every copy.
class CopiesPane : public QWidget
{
    Q_OBJECT

public:
    // Where the copies come from, for what may be done with them.
    struct Source
    {
        bool fromFile = false; // a captured listing, not the system's own
        bool busy = false;     // a job runs
    };

    explicit CopiesPane(QWidget *parent = nullptr);

    // Shows `explanation`'s copies; nothing without one.
    void showCopies(std::optional<CopiesExplanation> explanation, Source source);

signals:
    // The user chose to use `copy` instead of the copy in use.
    void useCopyRequested(const Appex &copy);
    // The user asked to list every copy.
    void allCopiesRequested();
    // Showing a copy's folder said `note`.
    void noted(const QString &note);

private:
    [[nodiscard]] const CopiesExplanation::Copy *chosenCopy() const;
    void updateActions();

    CopiesModel *m_model;
    QTreeView *m_table;
    QLabel *m_heading;
    QLabel *m_otherCopies;
    QAction *m_useCopy;
    QAction *m_showInFileManager;
    Source m_source;
};
