#include "messagebar.h"

#include "elidedlabel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>

MessageBar::MessageBar(Kind kind, QWidget *parent)
    : QFrame(parent)
    , m_text(kind == Kind::Error ? new QLabel(this) : new ElidedLabel(Qt::ElideMiddle, this))
    , m_detailsButton(new QToolButton(this))
    , m_details(new QPlainTextEdit(this))
    , m_close(new QToolButton(this))
    , m_row(new QHBoxLayout)
{
    const bool error = kind == Kind::Error;
    setObjectName(error ? QStringLiteral("failureBar") : QStringLiteral("informationBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    // A tint of the kind's colour over the window's own, so it suits light
    // and dark palettes alike.
    QPalette tinted = palette();
    const QColor tint = error ? QColor(0xda, 0x44, 0x53) : QColor(0x3d, 0xae, 0xe9);
    const QColor window = tinted.color(QPalette::Window);
    const auto mix = [](float own, float hue) { return own * 0.8f + hue * 0.2f; };
    tinted.setColor(QPalette::Window, QColor::fromRgbF(mix(window.redF(), tint.redF()),
                                                       mix(window.greenF(), tint.greenF()),
                                                       mix(window.blueF(), tint.blueF())));
    setPalette(tinted);

    auto *icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    icon->setPixmap(
        style()
            ->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation)
            .pixmap(iconSize));
    m_text->setWordWrap(error);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detailsButton->setText(tr("&Details"));
    m_detailsButton->setCheckable(true);
    m_detailsButton->setToolTip(tr("Show what the listing tool reported"));
    m_details->setReadOnly(true);
    m_details->setMaximumHeight(6 * fontMetrics().lineSpacing());
    m_details->setVisible(false);
    connect(m_detailsButton, &QToolButton::toggled, this, [this](bool shown) {
        m_details->setVisible(shown);
        m_detailsButton->setText(shown ? tr("Hide &Details") : tr("&Details"));
    });

    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setAutoRaise(true);
    m_close->setToolTip(tr("Close this message"));
    m_close->setAccessibleName(tr("Close message"));
    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);

    m_row->addWidget(icon);
    m_row->addWidget(m_text, 1);
    m_row->addWidget(m_detailsButton);
    m_row->addWidget(m_close);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 4, 4, 4);
    column->addLayout(m_row);
    column->addWidget(m_details);
    hide();
}

void MessageBar::showMessage(const QString &text, const QString &details)
{
    if (auto *oneLine = qobject_cast<ElidedLabel *>(m_text))
        oneLine->setFullText(text);
    else
        m_text->setText(text);
    m_details->setPlainText(details);
    m_detailsButton->setVisible(!details.isEmpty());
    m_detailsButton->setChecked(false);
    show();
}

void MessageBar::addActionButton(QAction *action)
{
    auto *button = new QToolButton(this);
    button->setDefaultAction(action);
    m_row->insertWidget(m_row->indexOf(m_close), button);
}

void MessageBar::setClosable(bool closable)
{
    m_close->setVisible(closable);
}

QList<QWidget *> MessageBar::buttons() const
{
    QList<QWidget *> buttons;
    for (int i = 0; i < m_row->count(); ++i) {
        if (auto *button = qobject_cast<QToolButton *>(m_row->itemAt(i)->widget()))
            buttons << button;
    }
    return buttons;
}

QString MessageBar::text() const
{
    if (const auto *oneLine = qobject_cast<const ElidedLabel *>(m_text))
        return oneLine->fullText();
    return m_text->text();
}

QString MessageBar::details() const
{
    return m_details->toPlainText();
}
