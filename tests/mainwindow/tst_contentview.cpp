#include "appexlistmodel.h"
#include "contentview.h"
#include "datestamp.h"
#include "displaysettings.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "listingbuilder.h"
#include "noresultspanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A window with a fake listing tool, save panel and alert, and helpers to
// work it as a user would.
class Window
{
public:
    explicit Window(const QString &toolPath)
    {
        auto panel = std::make_unique<FakeSavePanel>();
        auto alert = std::make_unique<FakeAlert>();
        savePanel = panel.get();
        errorAlert = alert.get();
        view = std::make_unique<ContentView>(
            ContentView::Services{toolPath, std::move(panel), std::move(alert)});
        view->show();
    }

    template<typename T> T *find(const QString &name) const
    {
        T *child = view->findChild<T *>(name);
        if (!child)
            qFatal("no widget %s", qPrintable(name));
        return child;
    }

    void click(const QString &name) const { find<QAbstractButton>(name)->click(); }
    void search(const QString &query) const
    {
        find<QLineEdit>(QStringLiteral("search"))->setText(query);
    }
    // Lets the queued redraw run.
    void settle() const { QCoreApplication::processEvents(); }

    QListView *list() const { return find<QListView>(QStringLiteral("appexList")); }
    QString count() const { return find<QLabel>(QStringLiteral("count"))->text(); }
    bool panelShown() const
    {
        return find<NoResultsPanel>(QStringLiteral("noResultsPanel"))->isVisible();
    }
    QString panelText() const
    {
        return find<NoResultsPanel>(QStringLiteral("noResultsPanel"))->description();
    }

    // The rows shown, each as its display text.
    QStringList rows() const
    {
        QStringList texts;
        const QAbstractItemModel *model = list()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }

    void selectRows(const QList<int> &rows) const
    {
        QItemSelection selection;
        for (const int row : rows)
            selection.select(list()->model()->index(row, 0), list()->model()->index(row, 0));
        list()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    std::unique_ptr<ContentView> view;
    FakeSavePanel *savePanel;
    FakeAlert *errorAlert;
};

} // namespace

class TestContentView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newWindow();
    void refreshShowsTheListingInTheStoredOrder();
    void refreshRedrawsOnce();
    void failedRefreshInANewWindow();
    void failedRefreshAfterASuccess();
    void sortEntries();
    void storedCodeOutsideTheEntries();
    void search();
    void searchBeforeAnyListing();
    void searchResultsStayUntilTheQueryChanges();
    void copy_data();
    void copy();
    void copyShortcutOnTheList();
    void selectionSurvivesRedrawsButNotRefreshes();
    void togglesChangeRowsAndPersist();
    void windowsAreIndependent();
    void saveAsRTF();

private:
    QString toolFor(const QByteArray &listing, int status = 0)
    {
        return m_tools.printing(listing, status);
    }
    void storeSetting(const QString &key, const QVariant &value);

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    FakeTool m_tools;
    // Three records: names out of order, one with a parent, UUIDs sharing "AB".
    const QByteArray m_listing = ListingBuilder()
                                     .add({"Gamma", "CC-AB-03", "com.apple.widget"})
                                     .add({"alpha", "aa-ab-01", "com.apple.share", "Notes"})
                                     .add({"Beta", "BB-00-02", "com.apple.widget"})
                                     .listing();
};

void TestContentView::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
}

void TestContentView::storeSetting(const QString &key, const QVariant &value)
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Zephlist", "Zephlist")
        .setValue(key, value);
}

void TestContentView::newWindow()
{
    Window window(toolFor(m_listing));
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist"));
    QCOMPARE(window.count(), QStringLiteral("0 appexes"));
    QCOMPARE(window.rows(), QStringList());
    QVERIFY(!window.panelShown());
    QVERIFY(window.find<QAbstractButton>("sortBySDK")->isChecked());
    QVERIFY(!window.find<QAbstractButton>("showPaths")->isChecked());
    QVERIFY(!window.find<QAbstractButton>("showUUID")->isChecked());
    QCOMPARE(window.find<QLineEdit>("search")->placeholderText(), QStringLiteral("UUID"));
    QVERIFY(window.view->centralWidget()->minimumSize() == QSize(800, 200));
    QCOMPARE(window.list()->font().pointSizeF(), 12.0);
    QCOMPARE(window.list()->font().family(),
             QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    QCOMPARE(window.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

void TestContentView::refreshShowsTheListingInTheStoredOrder()
{
    storeSetting("sortCode", 3);
    const QDateTime before = QDateTime::currentDateTime();
    Window window(toolFor(m_listing));
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(window.find<QAbstractButton>("sortByName")->isChecked());
    window.click("getAppexes");
    window.settle();
    // The title is stamped with the window's start, not with the refresh.
    const QString title = window.view->windowTitle();
    QVERIFY2(title == "Zephlist " + dateStamp(before) || title == "Zephlist " + dateStamp(after),
             qPrintable(title));
    window.click("getAppexes");
    QCOMPARE(window.view->windowTitle(), title);
    QCOMPARE(window.count(), QStringLiteral("3 appexes"));
    QCOMPARE(window.rows(), QStringList({"share alpha \U0001F9D1\u200D\U0001F9D2 Notes",
                                         "widget Beta", "widget Gamma"}));
    QVERIFY(window.view->statusBar()->currentMessage().isEmpty());
}

void TestContentView::refreshRedrawsOnce()
{
    Window window(toolFor(ListingBuilder().addGenerated(200).listing()));
    QSignalSpy resets(window.list()->model(), &QAbstractItemModel::modelReset);
    window.click("getAppexes");
    QCOMPARE(resets.size(), 0); // nothing drawn until the event loop turns
    window.settle();
    QCOMPARE(resets.size(), 1);
    QCOMPARE(window.list()->model()->rowCount(), 200);
}

void TestContentView::failedRefreshInANewWindow()
{
    Window window(toolFor(m_listing, 1));
    window.click("getAppexes");
    window.settle();
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist"));
    QCOMPARE(window.view->statusBar()->currentMessage(),
             QStringLiteral("Error 1 when running pluginkit."));
    QCOMPARE(window.count(), QStringLiteral("0 appexes"));
}

void TestContentView::failedRefreshAfterASuccess()
{
    const QString tool = toolFor(m_listing);
    Window window(tool);
    window.click("getAppexes");
    window.settle();
    const QString title = window.view->windowTitle();
    QCOMPARE(window.rows().size(), 3);

    QVERIFY(QFile::remove(tool));
    QVERIFY(QFile::copy(toolFor(m_listing, 2), tool));
    window.click("getAppexes");
    window.settle();
    QCOMPARE(window.view->windowTitle(), title);
    QCOMPARE(window.view->statusBar()->currentMessage(),
             QStringLiteral("Error 2 when running pluginkit."));
    QCOMPARE(window.count(), QStringLiteral("0 appexes"));
    QCOMPARE(window.rows(), QStringList());
    window.click("saveAsRTF");
    QVERIFY(window.savePanel->completions.isEmpty());
}

void TestContentView::sortEntries()
{
    Window window(toolFor(m_listing));
    window.click("sortByName"); // empty catalogue: nothing to sort, the code is stored
    QCOMPARE(DisplaySettings::read().sortCode, 3);

    window.click("getAppexes");
    window.settle();
    QCOMPARE(window.rows().first(), QStringLiteral("share alpha \U0001F9D1\u200D\U0001F9D2 Notes"));
    window.click("sortByUUID"); // case-sensitive: upper case first
    window.settle();
    QCOMPARE(window.view->appexer().appexList().first().uuid, QStringLiteral("BB-00-02"));
    QCOMPARE(window.rows().first(), QStringLiteral("widget Beta"));
    QCOMPARE(DisplaySettings::read().sortCode, 2);
    window.click("sortByParent");
    window.settle();
    QCOMPARE(window.rows().last(), QStringLiteral("share alpha \U0001F9D1\u200D\U0001F9D2 Notes"));
    QCOMPARE(DisplaySettings::read().sortCode, 1);
}

void TestContentView::storedCodeOutsideTheEntries()
{
    storeSetting("sortCode", 7);
    Window window(toolFor(m_listing));
    for (const char *entry : {"sortBySDK", "sortByParent", "sortByUUID", "sortByName"})
        QVERIFY(!window.find<QAbstractButton>(entry)->isChecked());
    window.click("getAppexes");
    window.settle();
    QCOMPARE(window.rows(), QStringList({"share alpha \U0001F9D1\u200D\U0001F9D2 Notes",
                                         "widget Beta", "widget Gamma"}));
    QCOMPARE(DisplaySettings::read().sortCode, 7); // only a pick changes it
}

void TestContentView::search()
{
    Window window(toolFor(m_listing));
    window.click("getAppexes");
    window.settle();

    window.search("ab");
    QCOMPARE(window.rows(), QStringList({"share alpha \U0001F9D1\u200D\U0001F9D2 Notes aa-ab-01",
                                         "widget Gamma CC-AB-03"}));
    QCOMPARE(window.count(), QStringLiteral("3 appexes"));
    QVERIFY(!window.panelShown());

    window.search("Gamma"); // names are not searched
    QCOMPARE(window.rows(), QStringList());
    QVERIFY(window.panelShown());
    QCOMPARE(window.panelText(), QStringLiteral("No results found for \"Gamma\""));

    window.search("");
    QCOMPARE(window.rows().size(), 3);
    QVERIFY(!window.rows().first().contains("aa-ab-01")); // no UUIDs outside a search
    QVERIFY(!window.panelShown());
}

void TestContentView::searchBeforeAnyListing()
{
    Window window(toolFor(m_listing));
    window.search("9C1A");
    QVERIFY(window.panelShown());
    QCOMPARE(window.panelText(), QStringLiteral("No results found for \"9C1A\""));
}

void TestContentView::searchResultsStayUntilTheQueryChanges()
{
    const QString tool = toolFor(m_listing);
    Window window(tool);
    window.click("getAppexes");
    window.settle();
    window.search("-0");
    const QStringList results = window.rows();
    QCOMPARE(results.size(), 3);

    window.click("sortByUUID");
    window.settle();
    QCOMPARE(window.rows(), results);

    QVERIFY(QFile::remove(tool));
    QVERIFY(QFile::copy(toolFor(ListingBuilder().add({"Delta", "DD-00-04"}).listing()), tool));
    window.click("getAppexes");
    window.settle();
    QCOMPARE(window.rows(), results);
    QCOMPARE(window.count(), QStringLiteral("1 appexes"));

    window.search("-");
    window.search("-0");
    QCOMPARE(window.rows(), QStringList({"widgetkit-extension Delta DD-00-04"}));
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

    Window window(toolFor(m_listing));
    window.click("getAppexes");
    window.settle();
    window.search(query);
    window.selectRows(rows);
    QApplication::clipboard()->clear();
    window.view->findChild<QAction *>("copy")->trigger();
    QTEST(QApplication::clipboard()->text(), "clipboard");
}

void TestContentView::copyShortcutOnTheList()
{
    Window window(toolFor(m_listing));
    window.click("getAppexes");
    window.settle();
    window.selectRows({0, 1});
    QApplication::clipboard()->clear();
    QVERIFY(QTest::qWaitForWindowActive(window.view.get()));
    window.list()->setFocus();
    QTest::keySequence(window.list(), QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), window.view->selectedCopyText());
    QCOMPARE(QApplication::clipboard()->text().count(u'\n'), 1);
}

void TestContentView::selectionSurvivesRedrawsButNotRefreshes()
{
    Window window(toolFor(m_listing));
    window.click("getAppexes");
    window.settle();
    window.selectRows({1});
    const QString selected = window.view->selectedCopyText();
    QVERIFY(!selected.isEmpty());

    window.search("b"); // the selected record is among the results
    window.search("");
    QCOMPARE(window.view->selectedCopyText(), selected);
    QCOMPARE(window.list()->selectionModel()->selectedRows().size(), 1);

    window.click("getAppexes"); // new records, new identities
    window.settle();
    QVERIFY(window.list()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(window.view->selectedCopyText().isEmpty());
}

void TestContentView::togglesChangeRowsAndPersist()
{
    Window window(toolFor(m_listing));
    window.click("getAppexes");
    window.settle();
    window.click("showPaths");
    QCOMPARE(window.rows()[0],
             QStringLiteral("share alpha /System/Library/ExtensionKit/Extensions/alpha.appex "
                            "\U0001F9D1\u200D\U0001F9D2 Notes /Applications/Notes.app"));
    window.click("showUUID");
    QVERIFY(window.rows()[1].endsWith(QStringLiteral(" BB-00-02")));
    QCOMPARE(DisplaySettings::read().showPaths, true);
    QCOMPARE(DisplaySettings::read().showUUID, true);

    Window next(toolFor(m_listing));
    QVERIFY(next.find<QAbstractButton>("showPaths")->isChecked());
    QVERIFY(next.find<QAbstractButton>("showUUID")->isChecked());
}

void TestContentView::windowsAreIndependent()
{
    Window first(toolFor(m_listing));
    Window second(toolFor(m_listing));
    first.click("getAppexes");
    first.settle();
    first.click("showUUID");
    QCOMPARE(first.rows().size(), 3);
    QCOMPARE(second.rows(), QStringList());
    QCOMPARE(second.count(), QStringLiteral("0 appexes"));
    QVERIFY(!second.find<QAbstractButton>("showUUID")->isChecked());
}

void TestContentView::saveAsRTF()
{
    Window window(toolFor(m_listing));
    window.click("saveAsRTF"); // empty catalogue: no panel
    QVERIFY(window.savePanel->completions.isEmpty());

    window.click("getAppexes");
    window.settle();
    window.search("zz"); // the report ignores the search
    window.click("saveAsRTF");
    QCOMPARE(window.savePanel->proposedNames,
             QStringList{"Zephlist" + dateStamp(window.view->appexer().theDate()) + ".text"});

    QTemporaryDir dir;
    const QString location = dir.filePath("report.rtf");
    window.savePanel->completions.first()(SavePanel::Response::OK, location);
    QFile report(location);
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray rtf = report.readAll();
    QVERIFY(rtf.contains("alpha") && rtf.contains("Beta") && rtf.contains("Gamma"));
    QVERIFY(window.errorAlert->details.isEmpty());
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
