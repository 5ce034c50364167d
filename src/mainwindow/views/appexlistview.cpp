#include "appexlistview.h"

#include "appexer.h"
#include "recordfacts.h"

#include <QAbstractProxyModel>
#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr qreal rowFontSize = 12.0;
constexpr size_t measured = 16;     // rows, the longest shown
constexpr size_t longestKept = 512; // rows, the longest of the catalogue for each display

// Which of AppexListView::m_longestRows a display reads.
size_t longestRowsOf(bool showPaths, bool showUUID)
{
    return (showPaths ? 2 : 0) + (showUUID ? 1 : 0);
}

// The rows with the most characters of those added, up to a count: a heap
// whose shortest row is at its front.
class LongestRows
{
public:
    explicit LongestRows(size_t count)
        : m_count(count)
    {}

    void add(qsizetype length, int row)
    {
        if (m_heap.size() == m_count) {
            if (length <= m_heap.front().first)
                return;
            std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
            m_heap.pop_back();
        }
        m_heap.emplace_back(length, row);
        std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
    }

    // The rows, most characters first.
    [[nodiscard]] std::vector<int> rows()
    {
        std::sort_heap(m_heap.begin(), m_heap.end(), std::greater<>());
        std::vector<int> rows;
        rows.reserve(m_heap.size());
        for (const auto &[length, row] : m_heap)
            rows.push_back(row);
        return rows;
    }

private:
    size_t m_count;
    std::vector<std::pair<qsizetype, int>> m_heap; // characters, row
};

// The model under `model` and under any proxies under that.
const QAbstractItemModel *catalogueUnder(const QAbstractItemModel *model)
{
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(model))
        model = proxy->sourceModel();
    return model;
}

// The row of `model` that shows `catalogueRow`, a row of the model under it;
// none when a proxy between them leaves it out.
QModelIndex rowShowing(const QAbstractItemModel *model, const QModelIndex &catalogueRow)
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(model);
    if (!proxy)
        return catalogueRow;
    const QModelIndex source = rowShowing(proxy->sourceModel(), catalogueRow);
    return source.isValid() ? proxy->mapFromSource(source) : QModelIndex();
}

} // namespace

AppexListView::AppexListView(QAbstractItemModel *rows, QWidget *parent)
    : QTreeView(parent)
    , m_delegate(new MessageRowDelegate(this))
    , m_rowMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("appexList"));
    setAccessibleName(tr("Appexes"));
    setModel(rows);
    // The catalogue changes its records by a reset, or their data in place.
    const auto recordsChanged = [this] {
        m_longestRowsKnown = false;
        m_measured = false;
    };
    connect(rows, &QAbstractItemModel::modelReset, this, recordsChanged);
    connect(rows, &QAbstractItemModel::dataChanged, this, recordsChanged);
    const auto rowsChanged = [this] { m_measured = false; };
    connect(rows, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(rows, &QAbstractItemModel::layoutChanged, this, rowsChanged);
    setItemDelegate(m_delegate);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // every row is one line: no per-row measuring
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setStretchLastSection(false);
    QFont rowFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    rowFont.setPointSizeF(rowFontSize);
    setFont(rowFont);

    m_rowMenu->setObjectName(QStringLiteral("rowMenu"));
    // Shift+F10 is the keyboard's other way to a menu, which Qt leaves to us.
    auto *openMenu = new QAction(this);
    openMenu->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    openMenu->setShortcutContext(Qt::WidgetShortcut);
    connect(openMenu, &QAction::triggered, this, [this] {
        const QRect row = visualRect(currentIndex());
        const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&event);
    });
    addAction(openMenu);
}

void AppexListView::setDisplay(MessageRowDelegate::Display display)
{
    if (m_measured && display == m_delegate->display())
        return;
    m_delegate->setDisplay(display);
    measureRows();
    viewport()->update();
}

// Rows are drawn in a fixed-pitch font, so the rows with the most characters
// are the widest, but for a few wide characters: measuring those few finds
// the width that the list must scroll to, without measuring every row.
void AppexListView::measureRows()
{
    if (!m_longestRowsKnown)
        findLongestRows();
    const MessageRowDelegate::Display shown = m_delegate->display();
    const std::vector<QPersistentModelIndex> &candidates =
        m_longestRows[longestRowsOf(shown.showPaths, shown.showUUID || shown.isSearching)];
    // The longest rows shown are the first of the catalogue's longest that
    // are shown, unless too few of those are.
    AppexList longest;
    for (const QPersistentModelIndex &candidate : candidates) {
        if (const QModelIndex row = rowShowing(model(), candidate); row.isValid()) {
            longest << row.data(Appexer::RecordRole).value<Appex>();
            if (size_t(longest.size()) == measured)
                break;
        }
    }
    if (size_t(longest.size()) < measured && candidates.size() == longestKept)
        longest = longestShownRows();
    m_widestRow = 0;
    for (const Appex &record : std::as_const(longest))
        m_widestRow = std::max(m_widestRow, m_delegate->rowWidth(record, font()));
    m_measured = true;
    fitColumn();
    measureRowsInSight();
}

// A row of fewer characters than the longest may still be wider, where its
// letters are wide ones (a script other than Latin, a symbol): the rows in
// sight, a screenful, are measured too, as they change, so that every row
// the user sees scrolls into sight whole.
void AppexListView::measureRowsInSight()
{
    const QModelIndex first = indexAt(QPoint(0, 0));
    if (!first.isValid())
        return;
    const int inSight = viewport()->height() / std::max(1, rowHeight(first)) + 1;
    const int end = std::min(model()->rowCount(), first.row() + inSight + 1);
    int widest = m_widestRow;
    for (int row = first.row(); row < end; ++row)
        widest = std::max(
            widest, m_delegate->rowWidth(
                        model()->index(row, 0).data(Appexer::RecordRole).value<Appex>(), font()));
    if (widest > std::exchange(m_widestRow, widest))
        fitColumn();
}

// Read once for each listing, as the catalogue's rows under the proxies: the
// proxies' rows change with every search and category, its records do not.
void AppexListView::findLongestRows()
{
    const QAbstractItemModel *catalogue = catalogueUnder(model());
    std::vector<LongestRows> longest(m_longestRows.size(), LongestRows(longestKept));
    for (int row = 0; row < catalogue->rowCount(); ++row) {
        const auto sizes = catalogue->index(row, 0).data(Appexer::SizesRole).value<FieldSizes>();
        for (const bool paths : {false, true}) {
            for (const bool uuid : {false, true})
                longest[longestRowsOf(paths, uuid)].add(
                    MessageRow::textLength(sizes, paths, uuid, false), row);
        }
    }
    for (size_t display = 0; display < longest.size(); ++display) {
        m_longestRows[display].clear();
        for (const int row : longest[display].rows())
            m_longestRows[display].emplace_back(catalogue->index(row, 0));
    }
    m_longestRowsKnown = true;
}

AppexList AppexListView::longestShownRows() const
{
    const MessageRowDelegate::Display shown = m_delegate->display();
    LongestRows longest(measured);
    for (int row = 0; row < model()->rowCount(); ++row)
        longest.add(MessageRow::textLength(
                        model()->index(row, 0).data(Appexer::SizesRole).value<FieldSizes>(),
                        shown.showPaths, shown.showUUID, shown.isSearching),
                    row);
    AppexList records;
    for (const int row : longest.rows())
        records << model()->index(row, 0).data(Appexer::RecordRole).value<Appex>();
    return records;
}

void AppexListView::fitColumn()
{
    header()->resizeSection(0, std::max(m_widestRow, viewport()->width()));
}

bool AppexListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        fitColumn(); // the viewport's width bounds the rows'
        measureRowsInSight();
    }
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex row = indexAt(help->pos());
        if (!row.isValid())
            return false;
        // The record's fields, then what its mark means, a line each: the
        // fields' table makes the tip rich text, where a newline is a space.
        const QString facts = RecordFacts::rowTip(row.data(Appexer::RecordRole).value<Appex>());
        QToolTip::showText(help->globalPos(),
                           row.data(Qt::ToolTipRole).toString() +
                               facts.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")),
                           viewport());
        return true;
    }
    return QTreeView::viewportEvent(event);
}

void AppexListView::scrollContentsBy(int dx, int dy)
{
    QTreeView::scrollContentsBy(dx, dy);
    if (dy != 0)
        measureRowsInSight();
}

void AppexListView::contextMenuEvent(QContextMenuEvent *event)
{
    m_rowMenu->popup(event->globalPos());
    event->accept();
}

void AppexListView::setDropHighlighted(bool highlighted)
{
    m_dropHighlighted = highlighted;
    viewport()->update();
}

void AppexListView::paintEvent(QPaintEvent *event)
{
    QTreeView::paintEvent(event);
    if (!m_dropHighlighted)
        return;
    constexpr int width = 3;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), width));
    painter.drawRect(viewport()->rect().adjusted(1, 1, -2, -2));
}
