#include "zephlistapp.h"

#include "helpcommands.h"
#include "helpview.h"
#include "version.h"
#include "windowrules.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

ZephlistApp::ZephlistApp(QObject *parent)
    : ZephlistApp(Services{}, parent)
{}

ZephlistApp::ZephlistApp(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
    if (!m_services.helpDocumentUrl)
        m_services.helpDocumentUrl = &HelpView::helpDocumentUrl;
    connect(&m_termination, &TerminationSignals::terminationRequested, this, &ZephlistApp::quit);
#ifdef Q_OS_MACOS
    // A Mac app keeps its menu bar, and runs on, with no window open.
    QApplication::setQuitOnLastWindowClosed(false);
    m_windowlessMenuBar = std::make_unique<QMenuBar>(nullptr);
    installMenus(m_windowlessMenuBar.get(), m_windowlessMenuBar->addMenu(tr("&File")));
#endif
}

ZephlistApp::~ZephlistApp()
{
    delete m_helpWindow; // top-level windows without a parent
    delete m_aboutBox;
}

ContentView *ZephlistApp::newMainWindow()
{
    // A new window steps down and right from the one in front, so both show.
    // Back at the screen's top left once a step would leave the screen.
    auto *front = qobject_cast<ContentView *>(QApplication::activeWindow());
    auto *window = new ContentView(m_services.mainWindowServices());
    window->setAttribute(Qt::WA_DeleteOnClose);
    installMenus(window->menuBar(), window->fileMenu());
    if (front) {
        // Placed by its inside, which is known before it shows, with a frame
        // as wide as the front one's.
        const QRect frame = front->frameGeometry();
        const QRect inside = front->geometry();
        const QMargins border(inside.left() - frame.left(), inside.top() - frame.top(),
                              frame.right() - inside.right(), frame.bottom() - inside.bottom());
        window->setGeometry(WindowRules::cascaded(frame, front->screen()->availableGeometry())
                                .marginsRemoved(border));
    }
    window->show();
    return window;
}

void ZephlistApp::installMenus(QMenuBar *menuBar, QMenu *fileMenu)
{
    QAction *first = fileMenu->actions().value(0);
    auto *newWindow = new QAction(tr("&New Window"), fileMenu);
    newWindow->setObjectName(QStringLiteral("newWindow"));
    newWindow->setShortcut(QKeySequence::New);
    connect(newWindow, &QAction::triggered, this, &ZephlistApp::newMainWindow);
    fileMenu->insertAction(first, newWindow);
    if (first)
        fileMenu->insertSeparator(first);

    fileMenu->addSeparator();
    QAction *quit = fileMenu->addAction(tr("&Quit"), this, &ZephlistApp::quit);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q)); // whatever the platform's theme says
    quit->setMenuRole(QAction::QuitRole);

    HelpCommands([this](const QString &identifier) { openWindow(identifier); }).install(menuBar);
}

void ZephlistApp::openWindow(const QString &identifier)
{
    if (identifier == QLatin1String("about")) {
        showAbout();
        return;
    }
    if (identifier != QLatin1String("help"))
        return;
    if (!m_helpWindow) {
        m_helpWindow = new QWidget;
        m_helpWindow->setObjectName(identifier);
        m_helpWindow->setWindowTitle(tr("Help Window"));
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Help alone does not keep the app running once the last main window closes.
        m_helpWindow->setAttribute(Qt::WA_QuitOnClose, false);
        auto *layout = new QVBoxLayout(m_helpWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new HelpView(m_services.helpDocumentUrl(), m_helpWindow));
        // No menu bar here, but the keys to quit and to close work as in the main windows.
        QAction *quit = m_helpWindow->addAction(tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                                                this, &ZephlistApp::quit);
        quit->setShortcutContext(Qt::WindowShortcut);
        m_helpWindow->resize(
            QSize(620, 860).boundedTo(m_helpWindow->screen()->availableSize() * 0.9));
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void ZephlistApp::quit()
{
    // Closing every window first lets each one keep its place and stop its tool.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void ZephlistApp::showAbout()
{
    if (!m_aboutBox) {
        // Modeless, like the help: nothing waits for it.
        m_aboutBox = new QMessageBox(QMessageBox::NoIcon, tr("About Zephlist"),
                                     tr("Zephlist %1").arg(QStringLiteral(ZEPHLIST_VERSION)),
                                     QMessageBox::Close);
        m_aboutBox->setObjectName(QStringLiteral("about"));
        m_aboutBox->setAttribute(Qt::WA_DeleteOnClose);
        m_aboutBox->setAttribute(Qt::WA_QuitOnClose, false);
        m_aboutBox->setWindowModality(Qt::NonModal);
        m_aboutBox->setIconPixmap(QApplication::windowIcon().pixmap(64));
        m_aboutBox->setInformativeText(
            tr("Lists the app extensions that macOS registers.\n\nVersion %1, built with Qt "
               "%2, running on Qt %3.\nLicence: %4, as the LICENSE file that comes with it "
               "states.")
                .arg(QStringLiteral(ZEPHLIST_VERSION), QStringLiteral(QT_VERSION_STR),
                     QString::fromLatin1(qVersion()), licence()));
    }
    m_aboutBox->show();
    m_aboutBox->raise();
}
