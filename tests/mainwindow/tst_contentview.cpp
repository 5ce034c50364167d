#include "contentview.h"
#include "datestamp.h"
#include "displaysettings.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "listingbuilder.h"
#include "noresultspanel.h"
#include "zephlisttest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString alphaRow = QStringLiteral("share alpha \U0001F9D1\u200D\U0001F9D2 Notes");

// A window with a fake listing tool, save panel and alert, worked as a user would.
struct Window
{
    explicit Window(const QString &toolPath)
    {
        auto panel = std::make_unique<FakeSavePanel>();
        savePanel = panel.get();
        view = std::make_unique<ContentView>(
            ContentView::Services{toolPath, std::move(panel), std::make_unique<FakeAlert>()});
        view->show();
    }

    template<typename T = QAbstractButton> T *find(const char *name) const
    {
        return view->findChild<T *>(QLatin1String(name));
    }
    // Presses a button and lets the queued redraw run.
    void click(const char *name) const
    {
        find(name)->click();
        QCoreApplication::processEvents();
    }
    void search(const QString &query) const { find<QLineEdit>("search")->setText(query); }
    QString count() const { return find<QLabel>("count")->text(); }
    QString status() const { return view->statusBar()->currentMessage(); }
    const NoResultsPanel *panel() const { return find<NoResultsPanel>("noResultsPanel"); }
    QListView *list() const { return find<QListView>("appexList"); }
    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            texts << list()->model()->index(row, 0).data().toString();
        return texts;
    }
    void select(const QList<int> &rows) const
    {
        QItemSelection selection;
        for (const int row : rows)
            selection.select(list()->model()->index(row, 0), list()->model()->index(row, 0));
        list()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    std::unique_ptr<ContentView> view;
    FakeSavePanel *savePanel;
};

} // namespace

class TestContentView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newWindow();
    void refreshShowsTheListingInTheStoredOrderAndRedrawsOnce();
    void failedRefreshes();
    void sortEntriesSortAndStore();
    void search();
    void copy_data();
    void copy();
    void selectionSurvivesRedrawsButNotRefreshes();
    void togglesChangeRowsAndPersist();
    void saveAsRTF();

private:
    // A tool that prints the three-record listing, or fails with `status`.
    QString tool(int status = 0)
    {
        return m_tools.printing(ListingBuilder()
                                    .add({"Gamma", "CC-AB-03", "com.apple.widget"})
                                    .add({"alpha", "aa-ab-01", "com.apple.share", "Notes"})
                                    .add({"Beta", "BB-00-02", "com.apple.widget"})
                                    .listing(),
                                status);
    }
    // Makes the tool at `path` behave like `other` from now on.
    static void replaceTool(const QString &path, const QString &other)
    {
        QVERIFY(QFile::remove(path) && QFile::copy(other, path));
    }

    std::unique_ptr<QTemporaryDir> m_settings;
    FakeTool m_tools;
};

void TestContentView::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings->path());
}

void TestContentView::newWindow()
{
    Window window(tool());
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist"));
    QCOMPARE(window.count(), QStringLiteral("0 appexes"));
    QCOMPARE(window.rows(), QStringList());
    QVERIFY(!window.panel()->isVisible());
    QVERIFY(window.find("sortBySDK")->isChecked());
    QVERIFY(!window.find("showPaths")->isChecked() && !window.find("showUUID")->isChecked());
    QCOMPARE(window.find<QLineEdit>("search")->placeholderText(), QStringLiteral("UUID"));
    QCOMPARE(window.list()->font().pointSizeF(), 12.0);
}

void TestContentView::refreshShowsTheListingInTheStoredOrderAndRedrawsOnce()
{
    DisplaySettings::storeSortCode(3);
    const QDateTime before = QDateTime::currentDateTime();
    Window window(tool());
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(window.find("sortByName")->isChecked());
    QSignalSpy resets(window.list()->model(), &QAbstractItemModel::modelReset);

    window.click("getAppexes");
    QCOMPARE(resets.size(), 1); // three appends and a sort: one redraw
    QCOMPARE(window.rows(), QStringList({alphaRow, "widget Beta", "widget Gamma"}));
    QCOMPARE(window.count(), QStringLiteral("3 appexes"));
    // Stamped with the window's start, so every refresh gives the same title.
    const QString title = window.view->windowTitle();
    QVERIFY2(title == "Zephlist " + dateStamp(before) || title == "Zephlist " + dateStamp(after),
             qPrintable(title));
    window.click("getAppexes");
    QCOMPARE(window.view->windowTitle(), title);
}

void TestContentView::failedRefreshes()
{
    const QString failing = tool(1);
    Window fresh(failing);
    fresh.click("getAppexes");
    QCOMPARE(fresh.view->windowTitle(), QStringLiteral("Zephlist"));
    QCOMPARE(fresh.status(), QStringLiteral("Error 1 when running pluginkit."));

    const QString flaky = tool();
    Window window(flaky);
    window.click("getAppexes");
    const QString title = window.view->windowTitle();
    replaceTool(flaky, failing);
    window.click("getAppexes");
    QCOMPARE(window.view->windowTitle(), title);
    QCOMPARE(window.status(), QStringLiteral("Error 1 when running pluginkit."));
    QCOMPARE(window.count(), QStringLiteral("0 appexes"));
    QCOMPARE(window.rows(), QStringList());
    window.click("saveAsRTF");
    QVERIFY(window.savePanel->completions.isEmpty());
    replaceTool(flaky, tool());
    window.click("getAppexes");
    QVERIFY(window.status().isEmpty());
}

void TestContentView::sortEntriesSortAndStore()
{
    Window window(tool());
    window.click("sortByName"); // nothing to sort yet; the code is stored all the same
    QCOMPARE(DisplaySettings::read().sortCode, 3);
    window.click("getAppexes");
    window.click("sortByUUID"); // case-sensitive: upper case first
    QCOMPARE(window.rows().first(), QStringLiteral("widget Beta"));
    window.click("sortByParent");
    QCOMPARE(window.rows().last(), alphaRow);
    QCOMPARE(DisplaySettings::read().sortCode, 1);

    DisplaySettings::storeSortCode(7); // no entry of its own: none chosen, sorts as SDK
    Window other(tool());
    for (const char *entry : {"sortBySDK", "sortByParent", "sortByUUID", "sortByName"})
        QVERIFY(!other.find(entry)->isChecked());
    other.click("getAppexes");
    QCOMPARE(other.rows(), QStringList({alphaRow, "widget Beta", "widget Gamma"}));
    QCOMPARE(DisplaySettings::read().sortCode, 7);
}

void TestContentView::search()
{
    const QString path = tool();
    Window window(path);
    window.search("9C1A"); // before any listing
    QVERIFY(window.panel()->isVisible());
    QCOMPARE(window.panel()->description(), QStringLiteral("No results found for \"9C1A\""));

    window.click("getAppexes");
    window.search("ab"); // UUIDs only, ignoring case, and shown in every result
    QCOMPARE(window.rows(), QStringList({alphaRow + " aa-ab-01", "widget Gamma CC-AB-03"}));
    QCOMPARE(window.count(), QStringLiteral("3 appexes"));
    QVERIFY(!window.panel()->isVisible());
    window.search("Gamma");
    QCOMPARE(window.rows(), QStringList());
    QCOMPARE(window.panel()->description(), QStringLiteral("No results found for \"Gamma\""));

    // Results stay as computed until the query changes, whatever the catalogue does.
    window.search("-0");
    const QStringList results = window.rows();
    window.click("sortByUUID");
    replaceTool(path, m_tools.printing(ListingBuilder().add({"Delta", "DD-00-04"}).listing()));
    window.click("getAppexes");
    QCOMPARE(window.rows(), results);
    QCOMPARE(window.count(), QStringLiteral("1 appexes"));
    window.search("-");
    window.search("-0");
    QCOMPARE(window.rows(), QStringList({"widgetkit-extension Delta DD-00-04"}));
    window.search("");
    QCOMPARE(window.rows(), QStringList({"widgetkit-extension Delta"}));
    QVERIFY(!window.panel()->isVisible());
}

void TestContentView::copy_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("clipboard");

    const QString alpha = "alpha\t/System/Library/ExtensionKit/Extensions/alpha.appex\tNotes\t"
                          "/Applications/Notes.app\tshare\taa-ab-01";
    const QString gamma =
        "Gamma\t/System/Library/ExtensionKit/Extensions/Gamma.appex\t\t\twidget\tCC-AB-03";
    QTest::newRow("catalogue, in list order") << "" << QList<int>{2, 0} << alpha + "\n" + gamma;
    QTest::newRow("search results") << "AB" << QList<int>{1} << gamma;
}

void TestContentView::copy()
{
    QFETCH(QString, query);
    QFETCH(QList<int>, rows);
    Window window(tool());
    window.click("getAppexes");
    window.search(query);
    window.select(rows);
    QApplication::clipboard()->clear();
    QVERIFY(QTest::qWaitForWindowActive(window.view.get()));
    window.list()->setFocus();
    // The window's Copy, not the list's own copy of its current row.
    QTest::keySequence(window.list(), QKeySequence::Copy);
    QTEST(QApplication::clipboard()->text(), "clipboard");
}

void TestContentView::selectionSurvivesRedrawsButNotRefreshes()
{
    Window window(tool());
    window.click("getAppexes");
    window.select({1});
    const QString selected = window.view->selectedCopyText();
    window.search("b");
    window.search("");
    window.click("showPaths");
    QCOMPARE(window.view->selectedCopyText(), selected);
    QCOMPARE(window.list()->selectionModel()->selectedRows().size(), 1);

    window.click("getAppexes"); // new records, new identities
    QVERIFY(window.list()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(window.view->selectedCopyText().isEmpty());
}

void TestContentView::togglesChangeRowsAndPersist()
{
    Window window(tool());
    Window other(tool());
    window.click("getAppexes");
    window.click("showPaths");
    QCOMPARE(window.rows()[0], "share alpha /System/Library/ExtensionKit/Extensions/alpha.appex "
                               "\U0001F9D1\u200D\U0001F9D2 Notes /Applications/Notes.app");
    window.click("showUUID");
    QVERIFY(window.rows()[1].endsWith(QStringLiteral(" BB-00-02")));
    QCOMPARE(DisplaySettings::read().showPaths, true);
    QCOMPARE(DisplaySettings::read().showUUID, true);
    QVERIFY(!other.find("showUUID")->isChecked()); // open windows keep their own
}

void TestContentView::saveAsRTF()
{
    Window window(tool());
    window.click("saveAsRTF"); // empty catalogue: no panel
    QVERIFY(window.savePanel->completions.isEmpty());
    window.click("getAppexes");
    window.search("zz"); // the report ignores the search
    window.click("saveAsRTF");
    QCOMPARE(window.savePanel->proposedNames,
             QStringList{"Zephlist" + dateStamp(window.view->appexer().theDate()) + ".text"});
    QTemporaryDir dir;
    window.savePanel->completions.first()(SavePanel::Response::OK, dir.filePath("report.rtf"));
    QFile report(dir.filePath("report.rtf"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray rtf = report.readAll();
    QVERIFY(rtf.contains("alpha") && rtf.contains("Beta") && rtf.contains("Gamma"));
}

ZEPHLIST_GUI_TEST_MAIN(TestContentView)
#include "tst_contentview.moc"
