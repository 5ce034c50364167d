#include "appextableview.h"

#include "appexcolumns.h"
#include "settings.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStyle>

AppexTableView::AppexTableView(AppexColumns *columns, QWidget *parent)
    : QTableView(parent)
    , m_columns(columns)
    , m_rowMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("appexTable"));
    setAccessibleName(tr("Appexes"));
    setModel(columns);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTextElideMode(Qt::ElideMiddle); // a path's start and its bundle both tell
    setWordWrap(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    QHeaderView *header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    header->setStretchLastSection(true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    // Room for a typical entry of each column, in characters.
    const std::pair<int, int> widths[] = {
        {AppexColumns::State, 4},   {AppexColumns::Name, 26},       {AppexColumns::Category, 22},
        {AppexColumns::Parent, 18}, {AppexColumns::Identifier, 30}, {AppexColumns::Registered, 26},
        {AppexColumns::Path, 40}};
    // Never narrower than the header's own title.
    for (const auto &[column, characters] : widths)
        header->resizeSection(column,
                              std::max(characters * fontMetrics().horizontalAdvance(u'x'),
                                       header->fontMetrics().horizontalAdvance(
                                           model()->headerData(column, Qt::Horizontal).toString()) +
                                           4 * style()->pixelMetric(QStyle::PM_HeaderMargin)));
    // A kept layout that does not restore leaves the one above.
    if (const QByteArray kept = Settings::tableLayout(); !kept.isEmpty())
        header->restoreState(kept);
    connect(header, &QHeaderView::sectionClicked, this, &AppexTableView::headerClicked);
    connect(header, &QHeaderView::customContextMenuRequested, this,
            &AppexTableView::showHeaderMenu);
    for (const auto changed : {&QHeaderView::sectionResized, &QHeaderView::sectionMoved})
        connect(header, changed, this, [this, header] {
            if (!m_keepingLayout)
                Settings::storeTableLayout(header->saveState());
        });
    // A search or a filter reaches the header as a change of layout that
    // does not say only rows changed, and the header gives its sections
    // their default sizes when the first row goes: its state is kept across.
    connect(columns, &QAbstractItemModel::layoutAboutToBeChanged, this,
            [this, header] { m_layout = header->saveState(); });
    connect(columns, &QAbstractItemModel::layoutChanged, this, [this, header] {
        const QScopedValueRollback keeping(m_keepingLayout, true);
        header->restoreState(m_layout);
    });
    m_rowMenu->setObjectName(QStringLiteral("tableRowMenu"));
}

void AppexTableView::showSortColumn(std::optional<int> column, Qt::SortOrder order)
{
    // -1 shows no indicator.
    horizontalHeader()->setSortIndicator(column.value_or(-1), order);
}

void AppexTableView::headerClicked(int column)
{
    // The header has turned its indicator before it tells of the click: up
    // for another column, the other way for the same. The catalogue's own
    // sorts go one way.
    const Qt::SortOrder order = AppexColumns::sortCodeOf(column)
                                    ? Qt::AscendingOrder
                                    : horizontalHeader()->sortIndicatorOrder();
    showSortColumn(column, order);
    m_columns->sort(column, order);
}

void AppexTableView::showHeaderMenu(QPoint at)
{
    QHeaderView *header = horizontalHeader();
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int column = 0; column < m_columns->columnCount(); ++column) {
        QAction *shown = menu->addAction(m_columns->headerData(column, Qt::Horizontal).toString());
        shown->setCheckable(true);
        shown->setChecked(!header->isSectionHidden(column));
        // The last column shown stays.
        shown->setEnabled(header->isSectionHidden(column) ||
                          header->count() - header->hiddenSectionCount() > 1);
        connect(shown, &QAction::toggled, this, [header, column](bool on) {
            header->setSectionHidden(column, !on);
            Settings::storeTableLayout(header->saveState());
        });
    }
    menu->addSeparator();
    connect(menu->addAction(tr("Reset Columns")), &QAction::triggered, this, [this, header] {
        for (int column = 0; column < m_columns->columnCount(); ++column) {
            header->setSectionHidden(column, false);
            header->moveSection(header->visualIndex(column), column);
        }
        header->resizeSections(QHeaderView::ResizeToContents);
        Settings::storeTableLayout(header->saveState());
    });
    menu->popup(header->mapToGlobal(at));
}

void AppexTableView::contextMenuEvent(QContextMenuEvent *event)
{
    m_rowMenu->popup(event->globalPos());
    event->accept();
}
