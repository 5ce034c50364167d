#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// Shown over the list when a search finds nothing: a magnifying glass, the
// title "No appex found", a line naming the query and, when the search looks
// at UUIDs only, a button to search every field instead.
class NoResultsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit NoResultsPanel(QWidget *parent = nullptr);

    void setQuery(const QString &query, bool offerAllFields);
    [[nodiscard]] QString description() const;

signals:
    void searchAllFieldsRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawSymbol();

    QLabel *m_symbol;
    QLabel *m_description;
    QPushButton *m_searchAllFields;
};
