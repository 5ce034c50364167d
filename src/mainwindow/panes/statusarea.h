#pragma once

#include "cataloguecontroller.h"

#include <QObject>

#include <optional>

class ElidedLabel;
class JobStatus;
class MessageBar;
class QAction;
class QLabel;
class QStatusBar;
class QTimer;
class QWidget;

// What the window tells of its state, apart from the list: the bars over the
// list (a failure, a comparison) and the status bar (notes that pass, how
// many records match the search or changed, and the job that runs). A note
// too long for the room the counts leave is cut, whole in its tip; the
// counts stay whole.
class StatusArea : public QObject
{
    Q_OBJECT

public:
    // Puts its labels and job status into `statusBar`; the bars are the
    // window's to place.
    StatusArea(QStatusBar *statusBar, QWidget *window);

    // Tells of `catalogue`'s jobs as they run and end; its Stop button stops them.
    void follow(CatalogueController *catalogue);
    // How a job ended: nothing more for a success, a passing note for a
    // cancel, the failure bar for a failure. `holdsNothing` tells that a
    // file read gave no records.
    void showOutcome(const CatalogueController::Outcome &outcome);

    [[nodiscard]] MessageBar *failureBar() const { return m_failureBar; }
    [[nodiscard]] MessageBar *comparisonBar() const { return m_comparisonBar; }

    void showBusy(const QString &text);
    void showIdle();
    void showFailure(const QString &text, const QString &detail = {});
    void clearFailure();
    // A note that goes by itself after a few seconds.
    void showNote(const QString &text);
    // How many records have problems, and while searching how many match.
    void showCounts(qsizetype withProblems, std::optional<qsizetype> matches);
    // The comparison's bar, whose buttons are `actions`, and its summary.
    void showComparison(const QString &baselineFile, qsizetype added, qsizetype changed,
                        qsizetype removed);
    void hideComparison();
    void addComparisonActions(const QList<QAction *> &actions);

private:
    // The counts, then the changes, in one line.
    void showCountsAndChanges();

    MessageBar *m_failureBar;
    MessageBar *m_comparisonBar;
    ElidedLabel *m_note;
    QTimer *m_noteTime;
    QLabel *m_countsLabel;
    QString m_counts;
    QString m_changes; // empty while not comparing
    JobStatus *m_jobStatus;
};
