#include "statusarea.h"

#include "elidedlabel.h"
#include "jobstatus.h"
#include "listinghistory.h"
#include "messagebar.h"
#include "windowrules.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr int noteMilliseconds = 5000;

} // namespace

StatusArea::StatusArea(QStatusBar *statusBar, QWidget *window)
    : QObject(window)
    , m_failureBar(new MessageBar(MessageBar::Kind::Error, window))
    , m_comparisonBar(new MessageBar(MessageBar::Kind::Information, window))
    , m_note(new ElidedLabel(Qt::ElideRight, window))
    , m_noteTime(new QTimer(this))
    , m_countsLabel(new QLabel(window))
    , m_jobStatus(new JobStatus(window))
{
    m_comparisonBar->setClosable(false);
    m_note->setObjectName(QStringLiteral("note"));
    m_noteTime->setSingleShot(true);
    m_noteTime->setInterval(noteMilliseconds);
    connect(m_noteTime, &QTimer::timeout, m_note, [this] { m_note->setFullText({}); });
    m_countsLabel->setObjectName(QStringLiteral("counts"));
    m_countsLabel->hide();
    // The note takes the room the counts and the job leave, and gives it up first.
    statusBar->addWidget(m_note, 1);
    statusBar->addPermanentWidget(m_countsLabel);
    statusBar->addPermanentWidget(m_jobStatus);
}

void StatusArea::follow(CatalogueController *catalogue)
{
    connect(catalogue, &CatalogueController::stateChanged, this, [this, catalogue] {
        catalogue->isBusy() ? showBusy(catalogue->busyText()) : showIdle();
    });
    connect(m_jobStatus, &JobStatus::stopRequested, catalogue, &CatalogueController::cancel);
    connect(catalogue, &CatalogueController::progress, this,
            [this](qsizetype done, qsizetype total) {
                if (done < total)
                    showBusy(tr("Removing registrations: %1 of %2").arg(done + 1).arg(total));
            });
}

void StatusArea::showOutcome(const CatalogueController::Outcome &outcome)
{
    if (!outcome.failure) {
        clearFailure();
        if (!outcome.message.isEmpty())
            showNote(outcome.message);
    } else if (outcome.failure->cancelled) {
        showNote(outcome.failure->text);
    } else {
        showFailure(outcome.failure->text, outcome.failure->detail);
    }
}

void StatusArea::showBusy(const QString &text)
{
    m_jobStatus->start(text);
}

void StatusArea::showIdle()
{
    m_jobStatus->stop();
}

void StatusArea::showFailure(const QString &text, const QString &detail)
{
    m_failureBar->showMessage(text, detail);
}

void StatusArea::clearFailure()
{
    m_failureBar->hide();
}

void StatusArea::showNote(const QString &text)
{
    m_note->setFullText(text);
    m_noteTime->start();
}

void StatusArea::showCounts(qsizetype withProblems, std::optional<qsizetype> matches)
{
    m_counts = WindowRules::countsText(withProblems, matches);
    showCountsAndChanges();
}

void StatusArea::showComparison(const QString &baselineFile, qsizetype added, qsizetype changed,
                                qsizetype removed)
{
    m_comparisonBar->showMessage(
        tr("Compared with \u201C%1\u201D: + added, ~ changed, \u2212 removed since.")
            .arg(ListingHistory::shownName(baselineFile)));
    m_changes = WindowRules::changeSummary(added, changed, removed);
    showCountsAndChanges();
}

void StatusArea::hideComparison()
{
    m_comparisonBar->hide();
    m_changes.clear();
    showCountsAndChanges();
}

void StatusArea::showCountsAndChanges()
{
    QStringList parts{m_counts, m_changes};
    parts.removeAll(QString());
    m_countsLabel->setText(parts.join(WindowRules::countSeparator()));
    m_countsLabel->setVisible(!parts.isEmpty());
}

void StatusArea::addComparisonActions(const QList<QAction *> &actions)
{
    for (QAction *action : actions)
        m_comparisonBar->addActionButton(action);
}
