#include "controlrow.h"

#include "settings.h"
#include "sortentrybutton.h"
#include "windowactions.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

namespace {

// The sort entries' texts, in code order, with their mnemonics.
const char *const sortEntries[] = {
    QT_TRANSLATE_NOOP("ControlRow", "SD&K"), QT_TRANSLATE_NOOP("ControlRow", "P&arent"),
    QT_TRANSLATE_NOOP("ControlRow", "UU&ID"), QT_TRANSLATE_NOOP("ControlRow", "&Name")};
// The object names stay English, whatever the language shown.
const char *const sortNames[] = {"sortBySDK", "sortByParent", "sortByUUID", "sortByName"};

QHBoxLayout *line(QWidget *holder)
{
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    return row;
}

} // namespace

ControlRow::ControlRow(const WindowActions &actions, qint64 sortCode, QWidget *search,
                       QWidget *parent)
    : QWidget(parent)
    , m_search(search)
    , m_controls(new QWidget(this))
    , m_lines(new QBoxLayout(QBoxLayout::LeftToRight, m_controls))
    , m_sortEntries(new QWidget(m_controls))
    , m_commands(new QWidget(m_controls))
    , m_commandLines(new QBoxLayout(QBoxLayout::LeftToRight, m_commands))
    , m_listing(new QWidget(m_commands))
    , m_display(new QWidget(m_commands))
    , m_sortGroup(new QButtonGroup(this))
    , m_count(new QLabel(m_listing))
{
    setObjectName(QStringLiteral("controls"));
    QHBoxLayout *whole = line(this);
    whole->setContentsMargins(8, 4, 8, 4);
    whole->setSpacing(8); // apart, yet on one line at 1000 px in a 10 pt font
    whole->addWidget(m_controls);
    whole->addStretch();
    whole->addWidget(m_search, 1); // what the controls leave, up to its own maximum
    m_lines->setContentsMargins(0, 0, 0, 0);
    m_lines->setSpacing(whole->spacing());

    QHBoxLayout *sortRow = line(m_sortEntries);
    sortRow->addWidget(new QLabel(tr("Sort By:"), m_sortEntries));
    for (int code = 0; code < int(std::size(sortEntries)); ++code) {
        auto *entry = new SortEntryButton(tr(sortEntries[code]), m_sortEntries);
        const QString plain = entry->text().remove(u'&');
        entry->setObjectName(QLatin1String(sortNames[code]));
        entry->setToolTip(tr("Sort the list by %1").arg(plain));
        entry->setChecked(code == sortCode); // none for a stored code outside 0 to 3
        m_sortGroup->addButton(entry, code);
        sortRow->addWidget(entry);
    }
    connect(m_sortGroup, &QButtonGroup::idClicked, this, [this](int code) {
        Settings::storeSortCode(SortCode(code));
        emit sortCodePicked(SortCode(code));
    });

    m_commandLines->setContentsMargins(0, 0, 0, 0);
    m_commandLines->setSpacing(m_lines->spacing());
    m_commandLines->addWidget(m_listing, 0, Qt::AlignCenter);
    m_commandLines->addWidget(m_display, 0, Qt::AlignCenter);
    QHBoxLayout *listingRow = line(m_listing);
    QHBoxLayout *displayRow = line(m_display);
    const auto addButton = [](QAction *action, const QString &name, QHBoxLayout *row) {
        auto *button = new QPushButton(action->text().remove(u'\u2026'), row->parentWidget());
        button->setObjectName(name);
        button->setToolTip(action->toolTip());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        row->addWidget(button);
    };
    const auto addToggle = [displayRow](QAction *action, const QString &name) {
        auto *toggle = new QCheckBox(action->text(), displayRow->parentWidget());
        toggle->setObjectName(name);
        toggle->setToolTip(action->toolTip());
        toggle->setChecked(action->isChecked());
        connect(toggle, &QCheckBox::toggled, action, &QAction::setChecked);
        connect(action, &QAction::toggled, toggle, &QCheckBox::setChecked);
        displayRow->addWidget(toggle);
    };
    addButton(actions[WindowActions::Command::GetAppexes], QStringLiteral("getAppexes"),
              listingRow);
    m_count->setObjectName(QStringLiteral("count"));
    m_count->setToolTip(tr("How many extensions the listing holds"));
    listingRow->addWidget(m_count);
    addToggle(actions[WindowActions::Command::ShowPaths], QStringLiteral("showPaths"));
    addToggle(actions[WindowActions::Command::ShowUUID], QStringLiteral("showUUID"));
    addButton(actions[WindowActions::Command::SaveAsRTF], QStringLiteral("saveAsRTF"), displayRow);

    m_lines->addWidget(m_sortEntries, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_lines->addWidget(m_commands, 0, Qt::AlignLeft | Qt::AlignVCenter);
}

void ControlRow::setCount(const QString &count)
{
    m_count->setText(count);
    arrangeLines(width()); // a longer count may no longer fit on the line
}

void ControlRow::setSortCode(std::optional<SortCode> sortCode)
{
    // An exclusive group keeps one entry checked: unchecking all needs it open.
    m_sortGroup->setExclusive(false);
    for (QAbstractButton *entry : m_sortGroup->buttons())
        entry->setChecked(sortCode == SortCode(m_sortGroup->id(entry)));
    m_sortGroup->setExclusive(true);
}

QList<QWidget *> ControlRow::focusChain() const
{
    QList<QWidget *> chain;
    for (QAbstractButton *entry : m_sortGroup->buttons())
        chain << entry;
    for (const char *name : {"getAppexes", "showPaths", "showUUID", "saveAsRTF"})
        chain << m_commands->findChild<QWidget *>(QLatin1String(name));
    return chain;
}

QSize ControlRow::minimumSizeHint() const
{
    // As narrow as the widest of the three lines, stacked, and the search's
    // least; as high as they lie now.
    const QMargins margins = layout()->contentsMargins();
    return {std::max({m_sortEntries->minimumSizeHint().width(),
                      m_listing->minimumSizeHint().width(), m_display->minimumSizeHint().width()}) +
                layout()->spacing() + m_search->minimumSizeHint().width() + margins.left() +
                margins.right(),
            QWidget::minimumSizeHint().height()};
}

void ControlRow::resizeEvent(QResizeEvent *event)
{
    arrangeLines(event->size().width());
    QWidget::resizeEvent(event);
}

void ControlRow::arrangeLines(int width)
{
    const QMargins margins = layout()->contentsMargins();
    const int room = width - margins.left() - margins.right() - layout()->spacing() -
                     m_search->minimumSizeHint().width();
    const int commands =
        m_listing->sizeHint().width() + m_lines->spacing() + m_display->sizeHint().width();
    const auto lineIf = [](bool fits) {
        return fits ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    };
    if (const auto direction = lineIf(room >= commands); direction != m_commandLines->direction())
        m_commandLines->setDirection(direction);
    const int oneLine = m_sortEntries->sizeHint().width() + m_lines->spacing() + commands;
    if (const auto direction = lineIf(room >= oneLine); direction != m_lines->direction())
        m_lines->setDirection(direction);
}
