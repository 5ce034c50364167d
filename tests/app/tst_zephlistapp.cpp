#include "contentview.h"
#include "displaysettings.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "listingbuilder.h"
#include "pdfkitview.h"
#include "zephlistapp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestZephlistApp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void helpMenuHoldsOneItem();
    void helpWindowIsSingle();
    void reopenedHelpLooksTheDocumentUpAgain();
    void helpWithoutAMainWindow();
    void notAPdfGivesAnEmptyViewerAndNoAlert();
    void missingDocumentGivesASentence();
    void newWindowHasTheLatestSettingsAndItsOwnCatalogue();

private:
    std::unique_ptr<ZephlistApp> makeApp();

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    FakeTool m_tools;
    QUrl m_helpDocument;
    int m_lookups = 0;
};

void TestZephlistApp::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
    m_helpDocument = QUrl::fromLocalFile(QStringLiteral(ZEPHLIST_HELP_PDF));
    m_lookups = 0;
}

void TestZephlistApp::cleanup()
{
    // Main windows delete themselves once closed.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ContentView *>(window))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<ZephlistApp> TestZephlistApp::makeApp()
{
    const QString tool = m_tools.printing(ListingBuilder().addGenerated(4).listing());
    ZephlistApp::Services services;
    services.mainWindowServices = [tool] {
        return ContentView::Services{tool, std::make_unique<FakeSavePanel>(),
                                     std::make_unique<FakeAlert>()};
    };
    services.helpDocumentUrl = [this] {
        ++m_lookups;
        return m_helpDocument;
    };
    return std::make_unique<ZephlistApp>(std::move(services));
}

void TestZephlistApp::helpMenuHoldsOneItem()
{
    const auto app = makeApp();
    ContentView *window = app->newMainWindow();
    const auto *help = window->menuBar()->findChild<QMenu *>(QStringLiteral("helpMenu"));
    QVERIFY(help);
    QCOMPARE(help->actions().size(), 1);
    QCOMPARE(help->actions().first()->text(), QStringLiteral("Zephlist Help"));
    QVERIFY(help->actions().first()->shortcut().isEmpty());
}

void TestZephlistApp::helpWindowIsSingle()
{
    const auto app = makeApp();
    ContentView *window = app->newMainWindow();
    QAction *item =
        window->menuBar()->findChild<QMenu *>(QStringLiteral("helpMenu"))->actions().first();
    item->trigger();
    QPointer<QWidget> help = app->helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), QStringLiteral("Help Window"));
    QCOMPARE(help->objectName(), QStringLiteral("help"));

    auto *view = help->findChild<PDFKitView *>();
    QVERIFY(view && view->document());
    view->goToPage(2);
    item->trigger();
    QCOMPARE(app->helpWindow(), help.data());
    QCOMPARE(view->currentPage(), 2); // brought to the front as it was
    QCOMPARE(m_lookups, 1);
    int helpWindows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        helpWindows += widget->objectName() == QLatin1String("help") ? 1 : 0;
    QCOMPARE(helpWindows, 1);
}

void TestZephlistApp::reopenedHelpLooksTheDocumentUpAgain()
{
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    QPointer<QWidget> first = app->helpWindow();
    first->findChild<PDFKitView *>()->goToPage(1);
    first->close();
    QTRY_VERIFY(first.isNull()); // closing discards it

    app->openWindow(QStringLiteral("help"));
    QCOMPARE(m_lookups, 2);
    QCOMPARE(app->helpWindow()->findChild<PDFKitView *>()->currentPage(), 0);
}

void TestZephlistApp::helpWithoutAMainWindow()
{
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    QVERIFY(app->helpWindow()->isVisible());
    QVERIFY(QApplication::topLevelWidgets().size() >= 1);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<ContentView *>(widget));
}

void TestZephlistApp::notAPdfGivesAnEmptyViewerAndNoAlert()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("ZephlistHelp.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF- broken");
    file.close();
    m_helpDocument = QUrl::fromLocalFile(file.fileName());

    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    auto *view = app->helpWindow()->findChild<PDFKitView *>();
    QVERIFY(view);
    QVERIFY(!view->document());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!app->helpWindow()->findChild<QMessageBox *>());
}

void TestZephlistApp::missingDocumentGivesASentence()
{
    m_helpDocument = QUrl();
    const auto app = makeApp();
    app->openWindow(QStringLiteral("help"));
    QVERIFY(!app->helpWindow()->findChild<PDFKitView *>());
    const auto *sentence = app->helpWindow()->findChild<QLabel *>(QStringLiteral("helpMissing"));
    QVERIFY(sentence && sentence->text().contains(QStringLiteral("missing")));
}

void TestZephlistApp::newWindowHasTheLatestSettingsAndItsOwnCatalogue()
{
    const auto app = makeApp();
    ContentView *first = app->newMainWindow();
    first->findChild<QAbstractButton *>(QStringLiteral("showPaths"))->click();
    first->findChild<QAbstractButton *>(QStringLiteral("sortByName"))->click();
    first->findChild<QAbstractButton *>(QStringLiteral("getAppexes"))->click();
    QCoreApplication::processEvents();

    QAction *newWindow = first->fileMenu()->findChild<QAction *>(QStringLiteral("newWindow"));
    QVERIFY(newWindow);
    QCOMPARE(newWindow->shortcut(), QKeySequence(QKeySequence::New));
    newWindow->trigger();
    ContentView *second = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<ContentView *>(widget); view && view != first)
            second = view;
    }
    QVERIFY(second);
    QVERIFY(second->findChild<QAbstractButton *>(QStringLiteral("showPaths"))->isChecked());
    QVERIFY(second->findChild<QAbstractButton *>(QStringLiteral("sortByName"))->isChecked());
    QVERIFY(&second->appexer() != &first->appexer());
    QCOMPARE(first->appexer().appexList().size(), 4);
    QVERIFY(second->appexer().appexList().isEmpty());
    QCOMPARE(second->findChild<QListView *>()->model()->rowCount(), 0);
    QVERIFY(second->testAttribute(Qt::WA_DeleteOnClose));
}

QTEST_MAIN(TestZephlistApp)
#include "tst_zephlistapp.moc"
