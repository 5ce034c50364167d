#include "noresultspanel.h"

#include "magnifyingglass.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

NoResultsPanel::NoResultsPanel(QWidget *parent)
    : QWidget(parent)
    , m_symbol(new QLabel(this))
    , m_description(new QLabel(this))
    , m_searchAllFields(new QPushButton(tr("Search &All Fields"), this))
{
    setObjectName(QStringLiteral("noResultsPanel"));
    m_symbol->setAlignment(Qt::AlignCenter);
    drawSymbol();

    auto *title = new QLabel(tr("No appex found"), this);
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
    m_searchAllFields->setObjectName(QStringLiteral("searchAllFields"));
    m_searchAllFields->setToolTip(tr("Search names, paths and identifiers too, not only UUIDs"));
    connect(m_searchAllFields, &QPushButton::clicked, this,
            &NoResultsPanel::searchAllFieldsRequested);
    layout->addWidget(m_searchAllFields, 0, Qt::AlignHCenter);
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

void NoResultsPanel::setQuery(const QString &query, bool offerAllFields)
{
    m_description->setText(tr("No results found for \u201C%1\u201D").arg(query));
    m_searchAllFields->setVisible(offerAllFields);
}

QString NoResultsPanel::description() const
{
    return m_description->text();
}
