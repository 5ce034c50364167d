#include "appextableview.h"

#include "appexcolumns.h"
#include "settings.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int layoutSettledMilliseconds = 1000;

} // namespace

AppexTableView::AppexTableView(AppexColumns *columns, QWidget *parent)
    : QTableView(parent)
    , m_columns(columns)
    , m_rowMenu(new QMenu(this))
    , m_keepLayout(new QTimer(this))
{
    setObjectName(QStringLiteral("appexTable"));
    setAccessibleName(tr("Appexes"));
    setModel(columns);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTextElideMode(Qt::ElideMiddle); // a path's start and its bundle both tell
    setWordWrap(false);
    // Tab leaves the table for the next control, as it leaves the rows.
    setTabKeyNavigation(false);
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
        {AppexColumns::Change, 3},      {AppexColumns::State, 4},   {AppexColumns::Name, 26},
        {AppexColumns::Category, 22},   {AppexColumns::Parent, 18}, {AppexColumns::Identifier, 30},
        {AppexColumns::Registered, 26}, {AppexColumns::Path, 40}};
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
    // What the user does to the header is kept; the rows coming and going leave it.
    // Hiding or showing a column is no resize: the header hides its hidden
    // columns anew whenever the rows change, and a toggle or the header's
    // menu keeps what it shows.
    connect(header, &QHeaderView::sectionResized, this, [this](int, int oldSize, int newSize) {
        if (oldSize > 0 && newSize > 0)
            keepLayout();
    });
    connect(header, &QHeaderView::sectionMoved, this, &AppexTableView::keepLayout);
    m_keepLayout->setSingleShot(true);
    m_keepLayout->setInterval(layoutSettledMilliseconds);
    connect(m_keepLayout, &QTimer::timeout, this, &AppexTableView::storeLayout);
    m_rowMenu->setObjectName(QStringLiteral("tableRowMenu"));
}

// A change not kept yet is kept as the window goes.
AppexTableView::~AppexTableView()
{
    if (m_keepLayout->isActive())
        storeLayout();
}

void AppexTableView::showSortColumn(std::optional<int> column, Qt::SortOrder order)
{
    // -1 shows no indicator.
    horizontalHeader()->setSortIndicator(column.value_or(-1), order);
}

void AppexTableView::headerClicked(int column)
{
    // The header has turned its indicator before it tells of the click: up
    // for another column, the other way for the same.
    m_columns->sort(column, horizontalHeader()->sortIndicatorOrder());
    keepLayout();
}

void AppexTableView::showColumnWith(int column, QAction *toggle)
{
    m_toggles.insert(column, toggle);
    horizontalHeader()->setSectionHidden(column, !toggle->isChecked());
    connect(toggle, &QAction::toggled, this,
            [this, column](bool on) { horizontalHeader()->setSectionHidden(column, !on); });
}

void AppexTableView::showChanges(bool comparing)
{
    horizontalHeader()->setSectionHidden(AppexColumns::Change, !comparing);
}

void AppexTableView::keepLayout()
{
    m_keepLayout->start();
}

void AppexTableView::storeLayout() const
{
    Settings::storeTableLayout(horizontalHeader()->saveState());
}

void AppexTableView::showHeaderMenu(QPoint at)
{
    QHeaderView *header = horizontalHeader();
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The Change column shows while the window compares, as the rows' marks do.
    for (int column = AppexColumns::Change + 1; column < m_columns->columnCount(); ++column) {
        QAction *shown = menu->addAction(m_columns->headerData(column, Qt::Horizontal).toString());
        shown->setCheckable(true);
        shown->setChecked(!header->isSectionHidden(column));
        // The last column shown stays.
        shown->setEnabled(header->isSectionHidden(column) ||
                          header->count() - header->hiddenSectionCount() > 1);
        connect(shown, &QAction::toggled, this, [this, header, column](bool on) {
            if (QAction *toggle = m_toggles.value(column))
                toggle->setChecked(on);
            else
                header->setSectionHidden(column, !on);
            keepLayout();
        });
    }
    menu->addSeparator();
    // The columns of toggles show as their toggles say.
    connect(menu->addAction(tr("Reset Columns")), &QAction::triggered, this, [this, header] {
        for (int column = 0; column < m_columns->columnCount(); ++column) {
            if (!m_toggles.contains(column) && column != AppexColumns::Change)
                header->setSectionHidden(column, false);
            header->moveSection(header->visualIndex(column), column);
        }
        header->resizeSections(QHeaderView::ResizeToContents);
        keepLayout();
    });
    menu->popup(header->mapToGlobal(at));
}

void AppexTableView::contextMenuEvent(QContextMenuEvent *event)
{
    m_rowMenu->popup(event->globalPos());
    event->accept();
}

QString AppexTableView::toolTipOf(const QModelIndex &cell) const
{
    if (!cell.isValid())
        return {};
    const QString shown = cell.data(Qt::DisplayRole).toString();
    const QString tip = cell.data(Qt::ToolTipRole).toString();
    if (tip != shown)
        return tip;
    // The delegate leaves a margin either side of the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = visualRect(cell).width() - 2 * margin;
    return fontMetrics().horizontalAdvance(shown) > room ? tip : QString();
}

bool AppexTableView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex cell = indexAt(help->pos());
    if (const QString tip = toolTipOf(cell); !tip.isEmpty())
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(cell));
    else
        QToolTip::hideText();
    return true;
}
