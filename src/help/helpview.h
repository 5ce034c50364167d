#pragma once

#include <QUrl>
#include <QWidget>

// The help window's content: the help document filling the window, or, when
// there is no document, a sentence saying so.
class HelpView : public QWidget
{
    Q_OBJECT

public:
    explicit HelpView(const QUrl &pdfUrl, QWidget *parent = nullptr);

    // The location of the help document "ZephlistHelp.pdf" among the app's
    // resources; empty when it is missing. Looked up anew on every call.
    [[nodiscard]] static QUrl helpDocumentUrl();
};
