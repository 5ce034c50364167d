#include "messagerowdelegate.h"

#include "appexlistmodel.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr int itemSpacing = 8;    // between the items of a row
constexpr int rowMargin = 6;      // left and right of a row
constexpr int verticalMargin = 2; // above and below the text

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

} // namespace

QColor MessageRowDelegate::colourOf(MessageRow::Colour colour, const QPalette &palette)
{
    const bool dark = isDark(palette);
    switch (colour) {
    case MessageRow::Colour::Green:
        return dark ? QColor(0x30, 0xd1, 0x58) : QColor(0x24, 0x8a, 0x3d);
    case MessageRow::Colour::Brown:
        return dark ? QColor(0xc4, 0xa0, 0x78) : QColor(0x7f, 0x65, 0x45);
    case MessageRow::Colour::Orange:
        return dark ? QColor(0xff, 0x9f, 0x0a) : QColor(0xc9, 0x34, 0x00);
    case MessageRow::Colour::Red:
        return dark ? QColor(0xff, 0x45, 0x3a) : QColor(0xd7, 0x00, 0x15);
    case MessageRow::Colour::Text:
        return palette.color(QPalette::Text);
    }
    Q_UNREACHABLE();
}

void MessageRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    // Background, selection and focus as the style draws them, without text.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const auto row = index.data(AppexListModel::MessageRowRole).value<MessageRow>();
    // On the selection colour the item colours could vanish: selected rows
    // use the palette's highlighted text throughout.
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect area = option.rect.adjusted(rowMargin, 0, -rowMargin, 0);
    const QFontMetrics metrics(option.font);

    const QList<MessageRow::Item> items = row.items();
    int rowWidth = -itemSpacing;
    for (const MessageRow::Item &item : items)
        rowWidth += itemSpacing + metrics.horizontalAdvance(item.text);
    // A row too wide keeps room for the ellipsis that ends it.
    const bool overflows = rowWidth > area.width();
    const QString ellipsis(QChar(0x2026));
    const int ellipsisWidth = metrics.horizontalAdvance(ellipsis);

    painter->save();
    painter->setFont(option.font);
    int x = area.left();
    for (const MessageRow::Item &item : items) {
        if (x > area.left())
            x += itemSpacing;
        const int room = area.right() + 1 - x;
        const int width = metrics.horizontalAdvance(item.text);
        const bool fits = overflows ? width + itemSpacing + ellipsisWidth <= room : width <= room;
        // The item that does not fit is the row's last, cut short.
        const QString text = fits ? item.text
                             : width + ellipsisWidth <= room
                                 ? item.text + ellipsis
                                 : metrics.elidedText(item.text, Qt::ElideRight, room);
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                                 : colourOf(item.colour, option.palette));
        painter->drawText(QRect(x, area.top(), room, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        if (!fits)
            break;
        x += width;
    }
    painter->restore();
}

QSize MessageRowDelegate::sizeHint(const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    const QFontMetrics metrics(option.font);
    int width = 2 * rowMargin;
    const auto items = index.data(AppexListModel::MessageRowRole).value<MessageRow>().items();
    for (const MessageRow::Item &item : items)
        width += metrics.horizontalAdvance(item.text) + itemSpacing;
    return {width, metrics.height() + 2 * verticalMargin};
}
