#pragma once

#include "messagerow.h"

#include <QStyledItemDelegate>

// Paints a row's MessageRow items on one line, each in its colour, in the
// list's font; a row too long for the view ends in an ellipsis.
class MessageRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The colour of an item on `palette`, chosen to stay legible on light and
    // dark palettes.
    [[nodiscard]] static QColor colourOf(MessageRow::Colour colour, const QPalette &palette);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const override;
};
