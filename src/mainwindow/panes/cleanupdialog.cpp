#include "cleanupdialog.h"

#include "shellwords.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { Reason, Folder, Command };

} // namespace

CleanUpDialog::CleanUpDialog(CleanupPlan plan, QWidget *parent)
    : QDialog(parent)
    , m_plan(std::move(plan))
    , m_copies(new QTreeWidget(this))
{
    setWindowTitle(tr("Clean Up Stale Copies"));
    auto *intro = new QLabel(
        tr("macOS does not use these copies. Zephlist can remove their registrations, one "
           "command at a time; nothing is removed from disk, and the copy in use is never "
           "among them."),
        this);
    intro->setWordWrap(true);

    m_copies->setObjectName(QStringLiteral("staleCopies"));
    m_copies->setRootIsDecorated(false);
    m_copies->setHeaderLabels({tr("Why"), tr("Copy"), tr("Command")});
    // The reason as long as it is; the copy and its command share the rest,
    // each cut in the middle and whole in its tip.
    QHeaderView *header = m_copies->header();
    header->setSectionResizeMode(Reason, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Folder, QHeaderView::Stretch);
    header->setSectionResizeMode(Command, QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->resizeSection(Command, 420);
    m_copies->setTextElideMode(Qt::ElideMiddle);
    for (const CleanupPlan::Step &step : m_plan.steps()) {
        const QString command = ShellWords::toolCommand(step.removal.toolArguments());
        auto *item = new QTreeWidgetItem(m_copies, {step.reason, step.removal.path, command});
        item->setCheckState(Reason, Qt::Checked);
        item->setToolTip(Folder, step.removal.path);
        item->setToolTip(Command, command);
    }
    connect(m_copies, &QTreeWidget::itemChanged, this, &CleanUpDialog::updateRunButton);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_run = buttons->addButton(tr("Remove Registrations"), QDialogButtonBox::AcceptRole);
    m_run->setDefault(true);
    QPushButton *copy = buttons->addButton(tr("Copy Commands"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(chosenPlan().commands(true)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_copies);
    layout->addWidget(buttons);
    resize(1000, 420);
    updateRunButton();
}

CleanupPlan CleanUpDialog::chosenPlan() const
{
    QSet<QString> kept;
    for (int row = 0; row < m_copies->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_copies->topLevelItem(row);
        if (item->checkState(Reason) != Qt::Checked)
            kept.insert(item->text(Folder));
    }
    return m_plan.without(kept);
}

void CleanUpDialog::updateRunButton()
{
    m_run->setEnabled(!chosenPlan().isEmpty());
}
