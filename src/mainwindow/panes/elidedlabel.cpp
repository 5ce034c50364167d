#include "elidedlabel.h"

#include <QResizeEvent>

namespace {

// A line break would make a second line where the label has room for one.
QString oneLine(const QString &text)
{
    return QString(text).replace(u'\n', u' ');
}

} // namespace

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode)
{
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString &text)
{
    m_fullText = text;
    elide();
    updateGeometry();
}

int ElidedLabel::widthBesideText() const
{
    return QLabel::sizeHint().width() - fontMetrics().horizontalAdvance(text());
}

QSize ElidedLabel::sizeHint() const
{
    return {widthBesideText() + fontMetrics().horizontalAdvance(oneLine(m_fullText)),
            QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {widthBesideText() + fontMetrics().horizontalAdvance(QStringLiteral("\u2026")),
            QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    const QString whole = oneLine(m_fullText);
    const QString shown = fontMetrics().elidedText(whole, m_mode, width() - widthBesideText());
    setText(shown);
    setToolTip(shown == whole ? QString() : m_fullText);
}
