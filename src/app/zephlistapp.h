#pragma once

#include "contentview.h"
#include "terminationsignals.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>

class QMenuBar;
#include <QMessageBox>

// The application's windows: any number of main windows, each with its own
// catalogue, the one help window and the About box, asked for by their
// identifiers "help" and "about". Told to end (SIGTERM, SIGINT, SIGHUP,
// SIGQUIT, SIGPIPE), it quits as its Quit command does, so that every window
// stops its tool's process group.
class ZephlistApp : public QObject
{
    Q_OBJECT

public:
    // What the windows are made with; tests replace them.
    struct Services
    {
        std::function<ContentView::Services()> mainWindowServices = [] {
            return ContentView::Services{};
        };
        std::function<QUrl()> helpDocumentUrl;
    };

    explicit ZephlistApp(QObject *parent = nullptr);
    explicit ZephlistApp(Services services, QObject *parent = nullptr);
    ~ZephlistApp() override;

    // A new main window, shown; it deletes itself when closed.
    ContentView *newMainWindow();
    // Shows the window with `identifier`: the help window is made when none is
    // open, and brought to the front otherwise.
    void openWindow(const QString &identifier);

    [[nodiscard]] QWidget *helpWindow() const { return m_helpWindow; }
    [[nodiscard]] QWidget *aboutBox() const { return m_aboutBox; }
    // The licence the About box names, that of the LICENSE file at the root.
    [[nodiscard]] static QString licence() { return tr("MIT"); }

private:
    void installMenus(QMenuBar *menuBar, QMenu *fileMenu);
    void quit();
    void showAbout();

    Services m_services;
    TerminationSignals m_termination;
    QPointer<QWidget> m_helpWindow;
    QPointer<QMessageBox> m_aboutBox;
    std::unique_ptr<QMenuBar> m_windowlessMenuBar; // macOS: menus with no window open
};
