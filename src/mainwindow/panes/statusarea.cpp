#include "statusarea.h"

#include "jobstatus.h"
#include "listinghistory.h"
#include "messagebar.h"
#include "windowrules.h"

#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int noteMilliseconds = 5000;

} // namespace

StatusArea::StatusArea(QStatusBar *statusBar, QWidget *window)
    : QObject(window)
    , m_statusBar(statusBar)
    , m_failureBar(new MessageBar(MessageBar::Kind::Error, window))
    , m_comparisonBar(new MessageBar(MessageBar::Kind::Information, window))
    , m_countsLabel(new QLabel(window))
    , m_changesLabel(new QLabel(window))
    , m_jobStatus(new JobStatus(window))
{
    m_comparisonBar->setClosable(false);
    m_countsLabel->setObjectName(QStringLiteral("counts"));
    m_changesLabel->setObjectName(QStringLiteral("changes"));
    m_countsLabel->hide();
    m_changesLabel->hide();
    m_statusBar->addPermanentWidget(m_countsLabel);
    m_statusBar->addPermanentWidget(m_changesLabel);
    m_statusBar->addPermanentWidget(m_jobStatus);
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
    m_statusBar->showMessage(text, noteMilliseconds);
}

void StatusArea::showCounts(qsizetype withProblems, std::optional<qsizetype> matches)
{
    m_countsLabel->setText(WindowRules::countsText(withProblems, matches));
    m_countsLabel->setVisible(!m_countsLabel->text().isEmpty());
}

void StatusArea::showComparison(const QString &baselineFile, qsizetype added, qsizetype changed,
                                qsizetype removed)
{
    m_comparisonBar->showMessage(
        tr("Compared with \u201C%1\u201D: + added, ~ changed, \u2212 removed since.")
            .arg(ListingHistory::shownName(baselineFile)));
    m_changesLabel->setText(WindowRules::changeSummary(added, changed, removed));
    m_changesLabel->show();
}

void StatusArea::hideComparison()
{
    m_comparisonBar->hide();
    m_changesLabel->hide();
}

void StatusArea::addComparisonActions(const QList<QAction *> &actions)
{
    for (QAction *action : actions)
        m_comparisonBar->addActionButton(action);
}
