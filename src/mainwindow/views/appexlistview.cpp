#include "appexlistview.h"

#include "appexer.h"
#include "appexscope.h"
#include "recordfacts.h"
#include "recordrows.h"

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

} // namespace

AppexListView::AppexListView(const Appexer &appexer, AppexScope *rows, QWidget *parent)
    : QTreeView(parent)
    , m_appexer(appexer)
    , m_rows(rows)
    , m_delegate(new MessageRowDelegate(this))
    , m_rowMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("appexList"));
    setAccessibleName(tr("Appexes"));
    setModel(m_rows);
    const auto rowsChanged = [this] { m_measured = false; };
    connect(m_rows, &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(m_rows, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(m_rows, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(m_rows, &QAbstractItemModel::dataChanged, this, rowsChanged);
    // A sort keeps the rows shown. The proxies pass on the catalogue's sort
    // without saying that only the order changed, so it is heard at the source.
    connect(
        &m_appexer, &QAbstractItemModel::layoutAboutToBeChanged, this,
        [this](const QList<QPersistentModelIndex> &, QAbstractItemModel::LayoutChangeHint hint) {
            m_catalogueSorting = hint == QAbstractItemModel::VerticalSortHint;
        });
    connect(&m_appexer, &QAbstractItemModel::layoutChanged, this,
            [this] { m_catalogueSorting = false; });
    connect(
        m_rows, &QAbstractItemModel::layoutChanged, this,
        [this](const QList<QPersistentModelIndex> &, QAbstractItemModel::LayoutChangeHint hint) {
            if (hint != QAbstractItemModel::VerticalSortHint && !m_catalogueSorting)
                m_measured = false;
        });
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
    const MessageRowDelegate::Display shown = m_delegate->display();
    constexpr size_t measured = 16;
    std::vector<std::pair<qsizetype, int>> longest; // characters, source row
    // The catalogue's rows in its own order, asked whether they are shown:
    // mapping each shown row through the proxies would cost more.
    for (int source = 0; source < m_appexer.rowCount(); ++source) {
        if (!m_rows->shows(source))
            continue;
        const qsizetype length = MessageRow::textLength(m_appexer.recordAt(source), shown.showPaths,
                                                        shown.showUUID, shown.isSearching);
        if (longest.size() < measured || length > longest.front().first) {
            if (longest.size() == measured) {
                std::pop_heap(longest.begin(), longest.end(), std::greater<>());
                longest.pop_back();
            }
            longest.emplace_back(length, source);
            std::push_heap(longest.begin(), longest.end(), std::greater<>());
        }
    }
    m_widestRow = 0;
    for (const auto &[length, source] : longest)
        m_widestRow =
            std::max(m_widestRow, m_delegate->rowWidth(m_appexer.recordAt(source), font()));
    m_measured = true;
    fitColumn();
}

void AppexListView::fitColumn()
{
    header()->resizeSection(0, std::max(m_widestRow, viewport()->width()));
}

bool AppexListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fitColumn(); // the viewport's width bounds the rows'
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex row = indexAt(help->pos());
        if (!row.isValid())
            return false;
        // The record's fields, then what its mark means.
        QToolTip::showText(help->globalPos(),
                           row.data(Qt::ToolTipRole).toString() + QStringLiteral("\n\n") +
                               RecordFacts::rowTip(row.data(Appexer::RecordRole).value<Appex>()),
                           viewport());
        return true;
    }
    return QTreeView::viewportEvent(event);
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
