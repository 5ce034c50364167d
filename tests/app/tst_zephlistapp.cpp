#include "contentview.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "golden.h"
#include "indicatorstyle.h"
#include "listinghistory.h"
#include "messagerowdelegate.h"

#include "pdfkitview.h"
#include "version.h"
#include "zephlistapp.h"
#include "zephlisttest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

#include <unistd.h>

class TestZephlistApp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void helpWindowIsSingle();
    void reopenedHelpLooksTheDocumentUpAgain();
    void helpFindsTextAndZooms();
    void helpWithoutADocument_data();
    void helpWithoutADocument();
    void newWindowHasTheLatestSettingsAndItsOwnCatalogue();
    void everyMenuHasDistinctMnemonics();
    void closingTheLastMainWindowEndsTheAppDespiteHelp();
    void ctrlQInTheHelpWindowQuits();
    void terminationQuitsAndStopsTheToolsGroup();
    void uncheckedIndicatorsShowOnADarkPalette();

private:
    std::unique_ptr<ZephlistApp> makeApp(const QString &tool = {});
    // Runs the application's loop; whether it ended by itself.
    static bool endsByItself();

    QTemporaryDir m_dir;
    FakeTool m_tools;
    QUrl m_helpDocument;
    int m_lookups = 0;
};

void TestZephlistApp::init()
{
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    m_helpDocument = QUrl::fromLocalFile(QStringLiteral(ZEPHLIST_HELP_PDF));
    m_lookups = 0;
    qputenv("ZEPHLIST_HISTORY_DIR", m_dir.filePath(QStringLiteral("history")).toUtf8());
}

void TestZephlistApp::cleanup()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ContentView *>(window))
            window->close(); // main windows delete themselves once closed
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<ZephlistApp> TestZephlistApp::makeApp(const QString &tool)
{
    ZephlistApp::Services services;
    services.mainWindowServices =
        [tool = tool.isEmpty() ? m_tools.printing(readTestData("listings/older.txt")) : tool] {
            ContentView::Services windowServices;
            windowServices.toolPath = tool;
            windowServices.reportPanel = std::make_unique<FakeSavePanel>();
            windowServices.errorAlert = std::make_unique<FakeAlert>();
            return windowServices;
        };
    services.helpDocumentUrl = [this] {
        ++m_lookups;
        return m_helpDocument;
    };
    return std::make_unique<ZephlistApp>(std::move(services));
}

void TestZephlistApp::helpWindowIsSingle()
{
    const auto app = makeApp();
    const auto *help =
        app->newMainWindow()->menuBar()->findChild<QMenu *>(QStringLiteral("helpMenu"));
    QCOMPARE(help->actions().size(), 2);
    QAction *item = help->actions().first();
    QCOMPARE(item->text(), QStringLiteral("Zephlist Help"));
    QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F1));

    help->actions().last()->trigger(); // About: what runs, on what, under which terms
    const auto *about = qobject_cast<QMessageBox *>(app->aboutBox());
    QVERIFY(about && about->isVisible() && !about->isModal());
    QCOMPARE(about->text(), QStringLiteral("Zephlist " ZEPHLIST_VERSION));
    QVERIFY(about->informativeText().contains(QStringLiteral("Version " ZEPHLIST_VERSION
                                                             ", built with Qt " QT_VERSION_STR
                                                             ", running on Qt ") +
                                              QString::fromLatin1(qVersion())));
    QVERIFY(about->informativeText().contains(QStringLiteral("Licence: MIT")));

    item->trigger();
    QWidget *window = app->helpWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Help Window"));
    auto *view = window->findChild<PDFKitView *>();
    QVERIFY(view && view->document());
    view->goToPage(2);
    item->trigger(); // brought to the front as it was
    QCOMPARE(app->helpWindow(), window);
    QCOMPARE(view->currentPage(), 2);
    QCOMPARE(m_lookups, 1);
}

void TestZephlistApp::reopenedHelpLooksTheDocumentUpAgain()
{
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help")); // with no main window
    QPointer<QWidget> first = app->helpWindow();
    first->findChild<PDFKitView *>()->goToPage(1);
    first->close();
    QTRY_VERIFY(first.isNull()); // closing discards it
    app->openWindow(QStringLiteral("help"));
    QCOMPARE(m_lookups, 2);
    QCOMPARE(app->helpWindow()->findChild<PDFKitView *>()->currentPage(), 0);
}

void TestZephlistApp::helpFindsTextAndZooms()
{
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    QWidget *help = app->helpWindow();
    QVERIFY(QTest::qWaitForWindowActive(help));
    auto *view = help->findChild<PDFKitView *>();
    QCOMPARE(view->currentPage(), 0);

    QTest::keySequence(help, QKeySequence::Find);
    auto *field = help->findChild<QLineEdit *>(QStringLiteral("helpFind"));
    QVERIFY(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("Clear Comparison")); // far into the help
    QTRY_VERIFY(view->currentPage() > 0);
    const auto *found = help->findChild<QLabel *>(QStringLiteral("helpFound"));
    QVERIFY2(found->text().startsWith(QStringLiteral("1 of ")), qPrintable(found->text()));
    field->setText(QStringLiteral("no such words anywhere"));
    QTRY_COMPARE(found->text(), QStringLiteral("Not found"));

    const qreal fitted = view->zoomFactor();
    QTest::keySequence(help, QKeySequence::ZoomIn);
    QVERIFY(qFuzzyCompare(view->zoomFactor(), fitted * 1.25));
    QTest::keySequence(help, QKeySequence::ZoomOut);
    QTest::keySequence(help, QKeySequence::ZoomOut); // never below the fitting size
    QVERIFY(qFuzzyCompare(view->zoomFactor(), fitted));
}

void TestZephlistApp::helpWithoutADocument_data()
{
    QTest::addColumn<QByteArray>("contents"); // of the help file; empty: no file at all
    QTest::addColumn<bool>("viewer");
    QTest::newRow("not a PDF: an empty viewer") << QByteArray("%PDF- broken") << true;
    QTest::newRow("missing: a sentence") << QByteArray() << false;
}

void TestZephlistApp::helpWithoutADocument()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, viewer);
    m_helpDocument = QUrl();
    if (!contents.isEmpty()) {
        QFile file(m_dir.filePath(QStringLiteral("ZephlistHelp.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) > 0);
        m_helpDocument = QUrl::fromLocalFile(file.fileName());
    }
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    const auto *view = app->helpWindow()->findChild<PDFKitView *>();
    QCOMPARE(view != nullptr, viewer);
    QVERIFY(!view || !view->document());
    QCOMPARE(app->helpWindow()->findChild<QLabel *>(QStringLiteral("helpMissing")) != nullptr,
             !viewer);
    QVERIFY(!QApplication::activeModalWidget()); // no alert
}

void TestZephlistApp::newWindowHasTheLatestSettingsAndItsOwnCatalogue()
{
    const auto app = makeApp();
    ContentView *first = app->newMainWindow();
    first->findChild<QAbstractButton *>(QStringLiteral("showPaths"))->click();
    QSignalSpy listed(&first->catalogue(), &CatalogueController::finished);
    first->findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
    QVERIFY(listed.wait());
    QVERIFY(QTest::qWaitForWindowActive(first));
    QAction *newWindow = first->fileMenu()->findChild<QAction *>(QStringLiteral("newWindow"));
    QCOMPARE(newWindow->shortcut(), QKeySequence(QKeySequence::New));
    newWindow->trigger();

    ContentView *second = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<ContentView *>(widget); view && view != first)
            second = view;
    }
    QVERIFY(second);
    QCOMPARE(second->pos(), first->pos() + QPoint(24, 24)); // cascaded
    // Windows cascade on down the screen, never off it.
    const QRect screen = first->screen()->availableGeometry();
    for (int made = 0; made < 30; ++made) {
        QVERIFY(screen.contains(QApplication::activeWindow()->frameGeometry()));
        QApplication::setActiveWindow(app->newMainWindow());
    }
    QVERIFY(second->findChild<QAbstractButton *>(QStringLiteral("showPaths"))->isChecked());
    QCOMPARE(first->appexer().appexList().size(), 9);
    QVERIFY(second->appexer().appexList().isEmpty());
}

// Alt and a letter reach one entry of a menu, in every menu the user meets.
// Every entry a key of its own in its menu, the menus filled as they open
// included: File ▸ History with its kept listings, View ▸ Search In.
void TestZephlistApp::everyMenuHasDistinctMnemonics()
{
    const ListingHistory history(ListingHistory::defaultFolder());
    for (const QByteArray listing : {"UUID = A\n\n", "UUID = B\n\n"})
        QVERIFY(!history.keep(listing, 1, QDateTime::currentDateTimeUtc()).warning);
    const auto app = makeApp();
    ContentView *window = app->newMainWindow();
    for (QMenu *menu : window->findChildren<QMenu *>())
        emit menu->aboutToShow();
    const QList<QMenu *> menus = window->findChildren<QMenu *>();
    QStringList titles;
    for (const QAction *entry : window->menuBar()->actions())
        titles << entry->text();
    QVERIFY(menus.size() >= 10); // the bar's, Search In, History and each listing's
    // The Help menu's entries, the help's own, may go without a key.
    const auto check = [](const QString &where, const QStringList &texts, bool keyed) {
        QStringList keys;
        for (const QString &text : texts) {
            const QString key = QKeySequence::mnemonic(text).toString();
            QVERIFY2((!keyed || !key.isEmpty()) && (key.isEmpty() || !keys.contains(key)),
                     qPrintable(where + QStringLiteral(": ") + text));
            keys << key;
        }
    };
    check(QStringLiteral("menu bar"), titles, true);
    for (const QMenu *menu : menus) {
        QStringList texts;
        for (const QAction *entry : menu->actions()) {
            // What cannot be chosen needs no key.
            if (!entry->isSeparator() && entry->isEnabled() && !entry->text().isEmpty())
                texts << entry->text();
        }
        check(menu->title() + menu->objectName(), texts,
              menu->objectName() != QLatin1String("helpMenu"));
    }
}

void TestZephlistApp::closingTheLastMainWindowEndsTheAppDespiteHelp()
{
    const auto app = makeApp();
    ContentView *window = app->newMainWindow();

    // The help window turns its pages from its toolbar, and Esc closes it.
    app->openWindow(QStringLiteral("help"));
    QPointer<QWidget> help = app->helpWindow();
    auto *page = help->findChild<QLabel *>(QStringLiteral("pageNumber"));
    QVERIFY(page->text().startsWith("Page 1 of "));
    help->findChild<QAction *>(QStringLiteral("nextPage"))->trigger();
    QVERIFY(page->text().startsWith("Page 2 of "));
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help, Qt::Key_Escape);
    QTRY_VERIFY(help.isNull());

    // The app's own loop ends by itself once no main window is left.
    app->openWindow(QStringLiteral("help"));
    QTimer::singleShot(0, window, &QWidget::close);
    QVERIFY(endsByItself());
}

bool TestZephlistApp::endsByItself()
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    bool endedByItself = true;
    connect(&giveUp, &QTimer::timeout, qApp, [&endedByItself] {
        endedByItself = false;
        QCoreApplication::quit();
    });
    giveUp.start(10000);
    QCoreApplication::exec();
    return endedByItself;
}

// Told to end while a window's tool runs, the app quits as its Quit command
// does, and the tool's whole group goes with it.
void TestZephlistApp::terminationQuitsAndStopsTheToolsGroup()
{
    const QString pidFile = m_dir.filePath(QStringLiteral("child.pid"));
    const auto app =
        makeApp(m_tools.write("spawner", "sleep 60 &\necho $! > '" + pidFile.toUtf8() + "'\nwait"));
    QPointer<ContentView> window = app->newMainWindow();
    window->findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
    QTRY_VERIFY(FakeTool::isRunning(pidFile));
    QTimer::singleShot(0, [] { ::kill(::getpid(), SIGTERM); });
    QVERIFY(endsByItself());
    QVERIFY(window.isNull());
    QTRY_VERIFY(!FakeTool::isRunning(pidFile));
}

void TestZephlistApp::ctrlQInTheHelpWindowQuits()
{
    const auto app = makeApp();
    QPointer<ContentView> window = app->newMainWindow();
    app->openWindow(QStringLiteral("help"));
    QPointer<QWidget> help = app->helpWindow();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(window.isNull() && help.isNull()); // every window closed on the way out
}

void TestZephlistApp::uncheckedIndicatorsShowOnADarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    const IndicatorStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    for (const QStyle::PrimitiveElement element :
         {QStyle::PE_IndicatorCheckBox, QStyle::PE_IndicatorRadioButton}) {
        QStyleOptionButton option;
        option.rect = QRect(0, 0, 16, 16);
        option.palette = dark;
        option.state = QStyle::State_Enabled | QStyle::State_Off;
        QImage drawn(option.rect.size(), QImage::Format_ARGB32);
        drawn.fill(dark.color(QPalette::Window));
        QPainter painter(&drawn);
        style.drawPrimitive(element, &option, &painter);
        painter.end();
        double edge = 0; // the most any pixel stands out from the window
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x)
                edge = std::max(edge, MessageRowDelegate::contrast(drawn.pixelColor(x, y),
                                                                   dark.color(QPalette::Window)));
        }
        QVERIFY2(edge >= 3.0, qPrintable(QString::number(edge)));
    }
}

ZEPHLIST_GUI_TEST_MAIN(TestZephlistApp)
#include "tst_zephlistapp.moc"
