#include "welcomepanel.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WelcomePanel::WelcomePanel(QAction *getAppexes, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("welcomePanel"));
    auto *title = new QLabel(tr("See the app extensions macOS registers"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    auto *description = new QLabel(
        tr("Zephlist lists every app extension with its SDK, name, parent app, path and UUID, "
           "from what \u201Cpluginkit\u201D reports or from a listing captured earlier. Search "
           "it, compare it with an older listing, or switch an extension off."),
        this);
    description->setWordWrap(true);
    // The panel lies centred at its size hint, which does not ask a wrapped
    // label's height for its width: the label says it itself.
    constexpr int descriptionWidth = 460;
    description->setFixedWidth(descriptionWidth);
    description->setMinimumHeight(description->heightForWidth(descriptionWidth));

    auto *button = new QPushButton(
        tr("%1 (%2)").arg(getAppexes->text().remove(u'&'),
                          getAppexes->shortcut().toString(QKeySequence::NativeText)),
        this);
    button->setObjectName(QStringLiteral("welcomeGetAppexes"));
    button->setDefault(true);
    connect(button, &QPushButton::clicked, getAppexes, &QAction::trigger);
    connect(getAppexes, &QAction::changed, button,
            [button, getAppexes] { button->setEnabled(getAppexes->isEnabled()); });

    auto *layout = new QVBoxLayout(this);
    for (QLabel *label : {title, description}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    layout->addSpacing(8);
    layout->addWidget(button, 0, Qt::AlignHCenter);
}
