#include "searchfield.h"

#include "appexfilter.h"
#include "magnifyingglass.h"
#include "settings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

SearchField::SearchField(AppexFilter *filter, QWidget *parent)
    : QLineEdit(parent)
    , m_filter(filter)
    , m_uuidScope(new QAction(tr("&UUID"), this))
    , m_allFieldsScope(new QAction(tr("&All Fields"), this))
    , m_scopeButton(new QToolButton(this))
{
    setObjectName(QStringLiteral("search"));
    // Qt's own clear button fades in over 160 ms as the first letter is
    // typed, which holds the field in motion after the list has answered.
    // This one shows at once.
    QAction *clearQuery = addAction(style()->standardIcon(QStyle::SP_LineEditClearButton),
                                    QLineEdit::TrailingPosition);
    clearQuery->setObjectName(QStringLiteral("clearSearch"));
    clearQuery->setToolTip(tr("Clear the search"));
    clearQuery->setVisible(false);
    connect(clearQuery, &QAction::triggered, this, &QLineEdit::clear);
    setMaximumWidth(360);
    setToolTip(tr("Search the list; Esc clears it (Ctrl+F)"));
    setPlaceholderText(tr("Search"));

    auto *scopes = new QActionGroup(this);
    m_uuidScope->setToolTip(tr("Search the UUIDs"));
    m_allFieldsScope->setToolTip(tr("Search every field"));
    for (QAction *scope : {m_uuidScope, m_allFieldsScope}) {
        scope->setCheckable(true);
        scopes->addAction(scope);
        connect(scope, &QAction::triggered, this, [this, scope] {
            const auto chosen =
                scope == m_uuidScope ? AppexSearch::Scope::Uuid : AppexSearch::Scope::AllFields;
            setScope(chosen);
            Settings::storeSearchScope(chosen);
        });
    }

    auto *scopeMenu = new QMenu(this);
    scopeMenu->addSection(tr("Search In"));
    scopeMenu->addActions({m_uuidScope, m_allFieldsScope});
    // The scope stays in sight inside the field, where the placeholder goes
    // as soon as something is typed.
    m_scopeButton->setObjectName(QStringLiteral("searchScope"));
    m_scopeButton->setIcon(QIcon(
        magnifyingGlass(palette().color(QPalette::PlaceholderText), 16, devicePixelRatioF())));
    m_scopeButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_scopeButton->setAutoRaise(true);
    m_scopeButton->setCursor(Qt::ArrowCursor);
    m_scopeButton->setFocusPolicy(Qt::NoFocus);
    m_scopeButton->setPopupMode(QToolButton::InstantPopup);
    m_scopeButton->setMenu(scopeMenu);
    m_scopeButton->setToolTip(tr("Choose what the search looks at"));
    connect(this, &QLineEdit::textChanged, this, [this, clearQuery](const QString &query) {
        clearQuery->setVisible(!query.isEmpty());
        m_filter->setQuery(query);
        emit searchChanged();
    });
    setScope(Settings::read().searchScope);
}

void SearchField::setScope(AppexSearch::Scope scope)
{
    m_scope = scope;
    m_filter->setScope(scope);
    const bool uuid = scope == AppexSearch::Scope::Uuid;
    (uuid ? m_uuidScope : m_allFieldsScope)->setChecked(true);
    m_scopeButton->setText(uuid ? tr("UUID") : tr("All Fields"));
    placeScopeButton();
    setAccessibleName(uuid ? tr("Search by UUID") : tr("Search all fields"));
    emit scopeChanged(scope);
    emit searchChanged();
}

QSize SearchField::minimumSizeHint() const
{
    // Room for the scope and a few characters of the query.
    return {m_scopeButton->sizeHint().width() + fontMetrics().horizontalAdvance(u'x') * 6,
            QLineEdit::minimumSizeHint().height()};
}

void SearchField::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeScopeButton();
}

void SearchField::placeScopeButton()
{
    const QSize size = m_scopeButton->sizeHint().boundedTo(this->size());
    m_scopeButton->setGeometry(QRect(QPoint(2, (height() - size.height()) / 2), size));
    setTextMargins(size.width() + 2, 0, 0, 0);
    updateGeometry();
}
