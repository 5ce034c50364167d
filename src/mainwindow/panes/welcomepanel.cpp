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
    // The texts wrap in the panel's whole width, so that their height is
    // that of the width the list leaves it.
    for (QLabel *label : {title, description}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
    }
    layout->addSpacing(8);
    layout->addWidget(button, 0, Qt::AlignHCenter);
}

QSize WelcomePanel::sizeHint() const
{
    // A comfortable measure for the description; narrower where the list is.
    const int width =
        460 + layout()->contentsMargins().left() + layout()->contentsMargins().right();
    return {width, heightForWidth(width)};
}
