#include "noresultspanel.h"

#include "magnifyingglass.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

NoResultsPanel::NoResultsPanel(QWidget *parent)
    : QWidget(parent)
    , m_symbol(new QLabel(this))
    , m_description(new QLabel(this))
{
    setObjectName(QStringLiteral("noResultsPanel"));
    m_symbol->setAlignment(Qt::AlignCenter);
    drawSymbol();

    auto *title = new QLabel(QStringLiteral("No appex found"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    m_description->setObjectName(QStringLiteral("noResultsDescription"));
    m_description->setAlignment(Qt::AlignCenter);
    m_description->setTextFormat(Qt::PlainText);
    m_description->setForegroundRole(QPalette::PlaceholderText);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_symbol);
    layout->addWidget(title);
    layout->addWidget(m_description);
}

void NoResultsPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        drawSymbol(); // in the new palette's colours
}

void NoResultsPanel::drawSymbol()
{
    m_symbol->setPixmap(
        magnifyingGlass(palette().color(QPalette::PlaceholderText), 48, devicePixelRatioF()));
}

void NoResultsPanel::setQuery(const QString &query)
{
    m_description->setText(QStringLiteral("No results found for \"%1\"").arg(query));
}

QString NoResultsPanel::description() const
{
    return m_description->text();
}
