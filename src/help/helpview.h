#pragma once

#include <QUrl>
#include <QWidget>

// The help window's content: the help document filling the window under a
// small toolbar that turns its pages, zooms and finds text, with the
// document's outline beside it where it has one; or, when there is no
// document, a sentence saying so. Esc and Ctrl+W close the window.
class HelpView : public QWidget
{
    Q_OBJECT

public:
    explicit HelpView(const QUrl &pdfUrl, QWidget *parent = nullptr);

    // The location of the help document "ZephlistHelp.pdf" among the app's
    // resources; empty when it is missing. Looked up anew on every call.
    [[nodiscard]] static QUrl helpDocumentUrl();
};
