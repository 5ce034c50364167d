#include "searchfield.h"

#include "appexfilter.h"
#include "magnifyingglass.h"
#include "settings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

SearchField::SearchField(AppexFilter *filter, QWidget *parent)
    : QLineEdit(parent)
    , m_filter(filter)
    , m_uuidScope(new QAction(tr("UUID"), this))
    , m_allFieldsScope(new QAction(tr("All Fields"), this))
{
    setObjectName(QStringLiteral("search"));
    setClearButtonEnabled(true);
    setMaximumWidth(320);
    setMinimumWidth(120);
    setToolTip(tr("Search the list; Esc clears it (Ctrl+F)"));

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
    QAction *glass = addAction(
        QIcon(magnifyingGlass(palette().color(QPalette::PlaceholderText), 16, devicePixelRatioF())),
        QLineEdit::LeadingPosition);
    glass->setToolTip(tr("Choose what the search looks at"));
    glass->setMenu(scopeMenu);
    connect(glass, &QAction::triggered, this,
            [this, scopeMenu] { scopeMenu->popup(mapToGlobal(rect().bottomLeft())); });
    connect(this, &QLineEdit::textChanged, this, [this](const QString &query) {
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
    setPlaceholderText(uuid ? tr("UUID") : tr("All Fields"));
    setAccessibleName(uuid ? tr("Search by UUID") : tr("Search all fields"));
    emit searchChanged();
}
