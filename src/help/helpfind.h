#pragma once

#include <QWidget>

class PDFKitView;
class QLabel;
class QLineEdit;
class QPdfSearchModel;

// Finds text in the help document: a field whose text is looked for on every
// page, Enter going to the page of the next place found, and where that is
// among all: "2 of 7".
class HelpFind : public QWidget
{
    Q_OBJECT

public:
    explicit HelpFind(PDFKitView *view, QWidget *parent = nullptr);

    // Puts the keyboard in the field, its text selected.
    void start();

private:
    void showNext();
    void showFound();

    PDFKitView *m_view;
    QLineEdit *m_field;
    QLabel *m_where;
    QPdfSearchModel *m_search;
    int m_shown = -1; // the place found that the view shows
};
