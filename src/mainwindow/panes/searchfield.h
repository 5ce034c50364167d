#pragma once

#include "appexsearch.h"

#include <QLineEdit>

class AppexFilter;
class QAction;
class QToolButton;

// The search field, which sets the filter's query as it is typed, with the
// scope it searches in: UUID or all fields, shown at its left in a button
// whose menu chooses it, or chosen from the actions it offers to the window's
// menus, and kept in the settings.
class SearchField : public QLineEdit
{
    Q_OBJECT

public:
    // Starts in the scope last chosen.
    explicit SearchField(AppexFilter *filter, QWidget *parent = nullptr);

    [[nodiscard]] AppexSearch::Scope scope() const { return m_scope; }
    void setScope(AppexSearch::Scope scope);
    [[nodiscard]] QAction *uuidScopeAction() const { return m_uuidScope; }
    [[nodiscard]] QAction *allFieldsScopeAction() const { return m_allFieldsScope; }

    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    // The query or the scope changed.
    void searchChanged();
    // The scope changed; the filter searches in it already.
    void scopeChanged(AppexSearch::Scope scope);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeScopeButton();

    AppexFilter *m_filter;
    AppexSearch::Scope m_scope = AppexSearch::Scope::Uuid;
    QAction *m_uuidScope;
    QAction *m_allFieldsScope;
    QToolButton *m_scopeButton;
};
