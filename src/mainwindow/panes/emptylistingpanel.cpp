#include "emptylistingpanel.h"

#include <QLabel>
#include <QVBoxLayout>

EmptyListingPanel::EmptyListingPanel(QWidget *parent)
    : QWidget(parent)
    , m_reason(new QLabel(this))
{
    setObjectName(QStringLiteral("emptyListingPanel"));
    auto *title = new QLabel(tr("No extensions listed"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    m_reason->setObjectName(QStringLiteral("emptyListingReason"));
    auto *layout = new QVBoxLayout(this);
    for (QLabel *label : {title, m_reason}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    hide();
}

void EmptyListingPanel::follow(const CatalogueController::Outcome &outcome,
                               const Appexer &catalogue)
{
    if (catalogue.rowCount() > 0)
        m_reason->clear();
    else if (!outcome.failure) // read, and held nothing: "(no matches)"
        m_reason->setText(tr("pluginkit answered that no extension matched."));
    else if (!outcome.failure->cancelled) // a cancel changes nothing
        m_reason->setText(outcome.failure->text);
}

QString EmptyListingPanel::reason() const
{
    return m_reason->text();
}

QSize EmptyListingPanel::sizeHint() const
{
    const int width =
        460 + layout()->contentsMargins().left() + layout()->contentsMargins().right();
    return {width, heightForWidth(width)};
}
