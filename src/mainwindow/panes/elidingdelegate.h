#pragma once

#include <QStyledItemDelegate>

// Draws cells cut as its mode says where they are too narrow, whatever the
// view's own mode: a view's columns may want their text cut in other places.
class ElidingDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ElidingDelegate(Qt::TextElideMode mode, QObject *parent);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    const Qt::TextElideMode m_mode;
};
