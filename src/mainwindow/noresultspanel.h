#pragma once

#include <QWidget>

class QLabel;

// Shown over the list when a search finds nothing: a magnifying glass, the
// title "No appex found" and a line naming the query.
class NoResultsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit NoResultsPanel(QWidget *parent = nullptr);

    void setQuery(const QString &query);
    [[nodiscard]] QString description() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawSymbol();

    QLabel *m_symbol;
    QLabel *m_description;
};
