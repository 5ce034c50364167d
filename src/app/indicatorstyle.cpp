#include "indicatorstyle.h"

#include <QPainter>
#include <QStyleOption>

void IndicatorStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                   QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    const bool checkBox = element == PE_IndicatorCheckBox;
    const bool radioButton = element == PE_IndicatorRadioButton;
    const QColor window = option->palette.color(QPalette::Window);
    const bool fusion = baseStyle()->name().compare(u"fusion", Qt::CaseInsensitive) == 0;
    if ((!checkBox && !radioButton) || !fusion || window.lightness() >= 128)
        return;
    QColor edge = option->palette.color(QPalette::WindowText);
    edge.setAlphaF(0.6f);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(edge, 1.0));
    painter->setBrush(Qt::NoBrush);
    const QRectF bounds = QRectF(option->rect).adjusted(1.5, 1.5, -1.5, -1.5);
    if (radioButton)
        painter->drawEllipse(bounds);
    else
        painter->drawRoundedRect(bounds, 2.0, 2.0);
    painter->restore();
}
