#pragma once

#include <QProxyStyle>

// The platform's style, but for the edges of check boxes and radio buttons
// that Fusion draws on a dark palette. Fusion outlines them a shade darker
// than the window, which on a dark window leaves an unchecked one all but
// invisible: there they get an edge in the window's text colour, faded, that
// keeps 3:1 against the window. Other styles draw their own, untouched.
class IndicatorStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};
