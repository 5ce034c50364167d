#include "copiespane.h"

#include "copiesmodel.h"
#include "elidingdelegate.h"
#include "filemanager.h"
#include "windowrules.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

CopiesPane::CopiesPane(QWidget *parent)
    : QWidget(parent)
    , m_model(new CopiesModel(this))
    , m_table(new QTreeView(this))
    , m_heading(new QLabel(this))
    , m_otherCopies(new QLabel(this))
    , m_useCopy(new QAction(tr("&Use This Copy"), this))
    , m_showInFileManager(new QAction(tr("Show in &File Manager"), this))
{
    setObjectName(QStringLiteral("copies"));
    m_table->setObjectName(QStringLiteral("copiesTable"));
    m_table->setAccessibleName(tr("Copies"));
    m_table->setModel(m_model);
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setTextElideMode(Qt::ElideMiddle); // a folder's both ends tell most
    m_table->setItemDelegateForColumn(CopiesModel::Why, new ElidingDelegate(Qt::ElideRight, this));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // The short columns as long as they are; the folder and why it is not
    // used share what room is left, cut and whole in their tips, so that the
    // table fits the pane without scrolling sideways.
    QHeaderView *header = m_table->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(CopiesModel::Folder, QHeaderView::Stretch);
    header->setSectionResizeMode(CopiesModel::Why, QHeaderView::Stretch);
    header->setMinimumSectionSize(fontMetrics().horizontalAdvance(u'x') * 6);
    m_useCopy->setObjectName(QStringLiteral("useThisCopy"));
    m_useCopy->setToolTip(tr("Make macOS use this copy of the extension"));
    m_showInFileManager->setObjectName(QStringLiteral("showCopyInFileManager"));
    m_showInFileManager->setToolTip(tr("Open the folder that holds this copy"));
    // The copies' menu: the commands on one copy, the ones that change the
    // system's registrations after those that only look.
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_table->addActions({m_showInFileManager, m_useCopy});
    connect(m_useCopy, &QAction::triggered, this, [this] {
        if (const CopiesExplanation::Copy *copy = chosenCopy())
            emit useCopyRequested(copy->record);
    });
    connect(m_showInFileManager, &QAction::triggered, this, [this] {
        if (const CopiesExplanation::Copy *copy = chosenCopy())
            emit noted(FileManager::showFolderOf(copy->record.path()));
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CopiesPane::updateActions);

    m_otherCopies->setObjectName(QStringLiteral("otherCopies"));
    m_otherCopies->setWordWrap(true);
    connect(m_otherCopies, &QLabel::linkActivated, this, &CopiesPane::allCopiesRequested);

    auto *buttons = new QHBoxLayout;
    for (QAction *action : {m_useCopy, m_showInFileManager}) {
        auto *button = new QToolButton(this);
        button->setDefaultAction(action);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_heading);
    column->addWidget(m_table, 1);
    column->addLayout(buttons);
    column->addWidget(m_otherCopies);
    showCopies(std::nullopt, {});
}

void CopiesPane::showCopies(std::optional<CopiesExplanation> explanation, Source source)
{
    m_source = source;
    // The same copies again keep the one chosen among them.
    const QString chosenUuid = chosenCopy() ? chosenCopy()->record.uuid() : QString();
    setVisible(explanation.has_value());
    if (!explanation) {
        m_model->setExplanation(std::nullopt);
        return;
    }
    m_heading->setText(tr("Copies of %1").arg(explanation->identifier));
    // Only a listing of every copy tells whether a copy is in use.
    const bool everyCopy = explanation->copies.first().record.active().has_value();
    m_otherCopies->setVisible(!everyCopy);
    m_otherCopies->setText(
        source.fromFile
            ? tr("This listing shows only the copies in use; other copies may be registered.")
            : tr("Only the copies in use are listed; other copies may be registered. "
                 "<a href=\"#all\">Show All Copies</a>"));
    m_model->setExplanation(std::move(explanation));
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (!chosenUuid.isEmpty() && m_model->copyAt(row)->record.uuid() == chosenUuid)
            m_table->setCurrentIndex(m_model->index(row, 0));
    }
    updateActions();
}

const CopiesExplanation::Copy *CopiesPane::chosenCopy() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.size() == 1 ? m_model->copyAt(rows.first().row()) : nullptr;
}

void CopiesPane::updateActions()
{
    const CopiesExplanation::Copy *copy = chosenCopy();
    m_useCopy->setEnabled(copy && WindowRules::commandsFor(&copy->record, AppexChange::Unchanged,
                                                           m_source.fromFile, m_source.busy)
                                      .enableCopy);
    m_showInFileManager->setEnabled(copy && !copy->record.path().isEmpty());
}
