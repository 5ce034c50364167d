#pragma once

#include "cleanupplan.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// The stale copies a clean-up would unregister, each with a check box
// (checked), its reason, its folder and the command that removes it. The
// user unchecks what to keep, copies the commands, or runs them.
class CleanUpDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CleanUpDialog(CleanupPlan plan, QWidget *parent = nullptr);

    // The plan without the copies the user unchecked.
    [[nodiscard]] CleanupPlan chosenPlan() const;

private:
    void updateRunButton();

    const CleanupPlan m_plan;
    QTreeWidget *m_copies;
    QPushButton *m_run;
};
