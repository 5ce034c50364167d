#include "appexcolumns.h"
#include "appexfilter.h"
#include "appexlistview.h"
#include "appexscope.h"
#include "appextableview.h"
#include "cleanupplan.h"
#include "contentview.h"
#include "controlrow.h"
#include "copiesmodel.h"
#include "datestamp.h"
#include "elidedlabel.h"
#include "fakedialogs.h"
#include "faketool.h"
#include "golden.h"
#include "jobstatus.h"
#include "listinghistory.h"
#include "messagebar.h"
#include "messagerow.h"
#include "messagerowdelegate.h"
#include "noresultspanel.h"
#include "recordfacts.h"
#include "settings.h"
#include "sparetime.h"
#include "windowrules.h"
#include "zephlisttest.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

namespace {

// Remembers each open panel; the test answers it as a user would.
class FakeOpenPanel : public OpenPanel
{
public:
    void begin(const QString &, const QString &folder, Completion completion) override
    {
        folders << folder;
        completions << std::move(completion);
    }
    QStringList folders;
    QList<Completion> completions;
};

// A window with a fake listing tool and fake dialogs, worked as a user would.
struct Window
{
    explicit Window(const QString &toolPath)
    {
        ContentView::Services services;
        services.toolPath = toolPath;
        services.limits.timeout = std::chrono::seconds(20);
        reportPanel = new FakeSavePanel;
        listingPanel = new FakeSavePanel;
        openPanel = new FakeOpenPanel;
        alert = new FakeAlert;
        services.reportPanel.reset(reportPanel);
        services.listingPanel.reset(listingPanel);
        services.openPanel.reset(openPanel);
        services.errorAlert.reset(alert);
        services.clock = [] { return theStart; };
        services.confirm = [this](const QString &question, const QString &, const QString &) {
            questions << question;
            return answer;
        };
        services.reviewCleanUp = [this](const CleanupPlan &plan) -> std::optional<CleanupPlan> {
            offered = plan;
            return plan.without(kept);
        };
        services.chooseBundle = [this](const QString &folder) {
            bundleFolders << folder;
            return chosenBundle;
        };
        services.pickBundle = [this](const QStringList &bundles) -> std::optional<qsizetype> {
            offeredBundles = bundles;
            return bundles.size() - 1;
        };
        view = std::make_unique<ContentView>(std::move(services));
        view->show();
        settle();
    }

    template<typename T = QAbstractButton> T *find(const char *name) const
    {
        return view->findChild<T *>(QLatin1String(name));
    }
    static void settle() { QCoreApplication::processEvents(); } // the window follows
    // Starts a job with `start` and waits for it; its success.
    template<typename Start> bool job(Start start) const
    {
        QSignalSpy done(&view->catalogue(), &CatalogueController::finished);
        start();
        const bool ended = !done.isEmpty() || done.wait(10000);
        settle();
        return ended && !done.last().first().value<CatalogueController::Outcome>().failure;
    }
    bool refresh() const
    {
        return job([this] { find("getAppexes")->click(); });
    }
    QAction *action(const QString &text) const
    {
        // The election commands name their extension: "Enable “Trackpad”".
        for (QAction *action : view->findChildren<QAction *>()) {
            const QString plain = action->text().remove(u'&').remove(u'\u2026');
            if (plain == text || plain.startsWith(text + QStringLiteral(" \u201C")))
                return action;
        }
        qFatal("no action %s", qPrintable(text));
    }
    void search(const QString &query) const
    {
        find<QLineEdit>("search")->setText(query);
        settle();
    }
    QTreeView *list() const { return find<QTreeView>("appexList"); }
    QStringList names() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names << list()->model()->index(row, 0).data().toString();
        return names;
    }
    void select(const QList<int> &rows) const
    {
        QItemSelection selection;
        for (const int row : rows)
            selection.select(list()->model()->index(row, 0), list()->model()->index(row, 0));
        list()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        list()->selectionModel()->setCurrentIndex(list()->model()->index(rows.first(), 0),
                                                  QItemSelectionModel::NoUpdate);
    }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    // The details' text as the eye reads it, without the breaks allowed in it.
    QString details() const
    {
        return find<QTextBrowser>("detailsText")->toPlainText().remove(u'\u200B');
    }
    // The status bar's passing note, whole.
    QString note() const { return find<ElidedLabel>("note")->fullText(); }
    const MessageBar *bar(const char *name) const { return find<MessageBar>(name); }

    static inline const QDateTime theStart{QDate(2001, 2, 3), QTime(4, 5)};
    std::unique_ptr<ContentView> view;
    FakeSavePanel *reportPanel;
    FakeSavePanel *listingPanel;
    FakeOpenPanel *openPanel;
    FakeAlert *alert;
    QStringList questions;
    bool answer = false;
    std::optional<CleanupPlan> offered; // the clean-up's, as the user is asked
    QSet<QString> kept;                 // the paths the user unchecks in it
    QString chosenBundle;               // to register
    QStringList bundleFolders;          // where the user was asked to choose it
    QStringList offeredBundles;         // of an app, to pick one
};

// A click on the header of `column`, as the user gives it: the header turns
// its indicator too.
void clickHeader(QTableView *table, int column)
{
    QHeaderView *header = table->horizontalHeader();
    table->scrollTo(table->model()->index(0, column));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      {header->sectionViewportPosition(column) + 4, header->height() / 2});
}

QStringList columnTexts(const QTableView *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts << table->model()->index(row, column).data().toString();
    return texts;
}

// The copies table as text: a line a copy, its cells joined by tabs, with
// "*" before a copy in bold.
QByteArray copiesText(const QAbstractItemModel *copies)
{
    QStringList lines;
    for (int row = 0; row < copies->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < copies->columnCount(); ++column)
            cells << copies->index(row, column).data().toString();
        const bool bold = copies->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
        lines << (bold ? "*" : "") + cells.join(u'\t');
    }
    return (lines.join(u'\n') + u'\n').toUtf8();
}

bool findHighlight(const Window &window)
{
    return window.find<AppexListView>("appexList")->isDropHighlighted();
}

} // namespace

class TestContentView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newWindowAndLiveRefresh();
    void escapeStopsTheToolElseClearsTheSearch();
    void failuresShowInTheBar();
    void sortEntriesSortAndStore();
    void searchFollowsTheCatalogue();
    void copy_data();
    void copy();
    void togglesAndTheWindowPersist();
    void saveAsRTF();
    void listingsAsFiles();
    void comparison();
    void elections();
    void electionsKeepTheChoiceAndTellWhatBecameOfIt();
    void electionsActOnlyOnAVisibleChoice();
    void keyboard();
    void controlsLieOnOneLineAcrossTheWindow_data();
    void controlsLieOnOneLineAcrossTheWindow();
    void narrowWindowAndWidestRow();
    void sidePanesShrinkBeforeTheList();
    void widestRowAmongManyRows();
    void choiceStaysInSight();
    void rowsInSightWidenTheList();
    void hugeValuesShowCut();
    void dragEnterHighlights();
    void tableSortsAndKeepsItsLayout();
    void tableColumnsSortByWhatTheyShow_data();
    void tableColumnsSortByWhatTheyShow();
    void tableShowsComparisons();
    void tableColumnsFollowShowPathsAndUuid();
    void tipsTellWhatTheRowsAndCellsCannot();
    void openingARowShowsItsDetails();
    void sidebarCountsFollowFoundProblems();
    void sidebarAndDetails();
    void sidebarFollowsProblemsOnly();
    void allCopiesAndTheirElections();
    void registrationsAndCleanUp();
    void historyOfListings();
    void detailsTableEveryCopy();
    void allCopiesAskedWhileBusy();
    void detailsBreakLongValuesAtDots();
    void statusNoteGivesWayToTheCounts();
    void comparisonBarFitsANarrowList();

private:
    FakeTool m_tools;
    std::unique_ptr<QTemporaryDir> m_settings;
    const QByteArray m_newer = readTestData(QStringLiteral("listings/newer.txt"));
};

void TestContentView::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings->path());
}

void TestContentView::newWindowAndLiveRefresh()
{
    Window window(m_tools.write("slow", "sleep 1\ncat '" +
                                            testDataPath("listings/newer.txt").toUtf8() + "'"));
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist"));
    QCOMPARE(window.text("count"), QStringLiteral("0 appexes"));
    QVERIFY(window.find<QWidget>("welcomePanel")->isVisible()); // says what to do first
    QVERIFY(!window.find("saveAsRTF")->isEnabled());
    QVERIFY(window.view->width() >=
            std::min(1000, int(window.view->screen()->availableSize().width() * 0.9)));

    QSignalSpy done(&window.view->catalogue(), &CatalogueController::finished);
    QStringList afterRefresh; // names and title when the refresh ends, before the next job
    connect(&window.view->catalogue(), &CatalogueController::finished, this, [&] {
        if (afterRefresh.isEmpty())
            afterRefresh << window.names().first() << window.view->windowTitle()
                         << QString::number(window.names().size());
    });
    window.find("getAppexes")->click();
    Window::settle();
    // The window lives on while the tool runs, and a second request waits for nothing.
    QVERIFY(window.find<JobStatus>("jobStatus")->isVisible());
    QVERIFY(window.find<JobStatus>("jobStatus")->text().startsWith("Running pluginkit"));
    QVERIFY(!window.find("getAppexes")->isEnabled());
    QTest::keyClick(window.view.get(), Qt::Key_R, Qt::ControlModifier);
    // A sort picked meanwhile sorts the listing when it comes; a listing
    // picked meanwhile is read after it.
    window.find("sortByUUID")->click();
    window.action("Open Listing")->trigger();
    window.openPanel->completions.first()(testDataPath("listings/older.txt"));
    QTRY_COMPARE(done.size(), 2);
    Window::settle();
    QCOMPARE(afterRefresh,
             QStringList({"New", // UUID N1
                          "Zephlist " + dateStamp(Window::theStart), "10"}));
    QCOMPARE(window.text("count"), QStringLiteral("9 appexes"));
    QVERIFY(window.find("saveAsRTF")->isEnabled());
    QVERIFY(!window.find<QWidget>("welcomePanel")->isVisible());
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist \u2014 older.txt"));
    QVERIFY(!window.find<JobStatus>("jobStatus")->isVisible());
}

void TestContentView::escapeStopsTheToolElseClearsTheSearch()
{
    const QString tool = m_tools.printing(m_newer);
    Window window(tool);
    QVERIFY(window.refresh());
    QVERIFY(QTest::qWaitForWindowActive(window.view.get()));
    QFile::remove(tool);
    QVERIFY(QFile::copy(m_tools.write("hang", "exec sleep 60"), tool));
    auto *field = window.find<QLineEdit>("search");
    window.search("n1");
    window.find("getAppexes")->click();
    field->setFocus(); // busy: Esc stops the tool, and leaves the search
    QVERIFY(window.job([&] { QTest::keyClick(field, Qt::Key_Escape); }) == false);
    QCOMPARE(field->text(), QStringLiteral("n1"));
    window.search("");
    QCOMPARE(window.note(), QStringLiteral("The listing was cancelled."));
    QCOMPARE(window.text("count"), QStringLiteral("10 appexes")); // nothing changed
    QVERIFY(!window.bar("failureBar")->isVisible());

    for (QWidget *focus : {static_cast<QWidget *>(field), static_cast<QWidget *>(window.list())}) {
        window.search("n1"); // idle: Esc clears the search, from the field or the list
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(field->text().isEmpty());
    }
}

void TestContentView::failuresShowInTheBar()
{
    const QString tool = m_tools.printing(m_newer);
    Window window(tool);
    QVERIFY(window.refresh());
    QVERIFY(window.job([&] { window.view->openListing(testDataPath("listings/older.txt")); }));
    const QString title = window.view->windowTitle();
    QFile::remove(tool);
    QVERIFY(QFile::copy(m_tools.write("failing", "echo 'no registry' >&2\nexit 3"), tool));
    QVERIFY(!window.refresh());
    QVERIFY(window.bar("failureBar")->isVisible());
    QCOMPARE(window.bar("failureBar")->text(), QStringLiteral("Error 3 when running pluginkit."));
    QCOMPARE(window.bar("failureBar")->details(), QStringLiteral("no registry"));
    // The last good listing stays on screen, under its own title.
    QCOMPARE(window.view->windowTitle(), title);
    QCOMPARE(window.text("count"), QStringLiteral("9 appexes"));
    QVERIFY(window.find("saveAsRTF")->isEnabled());

    QFile::remove(tool);
    QVERIFY(QFile::copy(m_tools.printing(m_newer), tool));
    QVERIFY(window.refresh());
    QVERIFY(!window.bar("failureBar")->isVisible());

    // With no listing to keep, the list says why it is empty, in the
    // failure's words or the tool's answer; never a blank list.
    const auto emptyListing = [](const Window &empty) {
        const auto *panel = empty.find<QWidget>("emptyListingPanel");
        return panel->isVisible() && !empty.find<QWidget>("welcomePanel")->isVisible()
                   ? empty.text("emptyListingReason")
                   : QString();
    };
    Window failed(m_tools.write("failing", "echo 'no registry' >&2\nexit 3"));
    QVERIFY(emptyListing(failed).isEmpty()); // nothing asked yet: the welcome
    QVERIFY(!failed.refresh());
    QCOMPARE(emptyListing(failed), QStringLiteral("Error 3 when running pluginkit."));
    for (const QString &quietTool : {m_tools.printing("(no matches)\n"),
                                     m_tools.write("nothing", "echo '(no matches)' >&2")}) {
        Window nothing(quietTool);
        QVERIFY(nothing.refresh());
        QCOMPARE(emptyListing(nothing),
                 QStringLiteral("pluginkit answered that no extension matched."));
    }
}

void TestContentView::sortEntriesSortAndStore()
{
    Window window(m_tools.printing(m_newer));
    window.find("sortByName")->click(); // nothing to sort yet; the code is stored all the same
    QCOMPARE(Settings::read().sortCode, 3);
    QVERIFY(window.refresh());
    QCOMPARE(window.names().mid(0, 3), QStringList({"Elected", "Moved", "New"}));
    window.find("sortByUUID")->click(); // case-sensitive: N10 before N2
    QCOMPARE(window.names().mid(0, 3), QStringList({"New", "Only the UUID changes", "Same"}));
    QCOMPARE(Settings::read().sortCode, 2);
    // A mnemonic sorts as it is pressed, not after a button's pressed look.
    QTest::keyClick(window.view.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(window.names().mid(0, 3), QStringList({"Elected", "Moved", "New"}));
    QVERIFY(window.find("sortByName")->hasFocus());

    // Written by other means, a code with no entry of its own: none chosen, sorts as SDK.
    QSettings(QSettings::defaultFormat(), QSettings::UserScope, "Zephlist", "Zephlist")
        .setValue("sortCode", 7);
    Window other(m_tools.printing(m_newer));
    for (const char *entry : {"sortBySDK", "sortByParent", "sortByUUID", "sortByName"})
        QVERIFY(!other.find(entry)->isChecked());
    QVERIFY(other.refresh());
    QCOMPARE(other.names().first(), QStringLiteral("Elected"));
    QCOMPARE(Settings::read().sortCode, 7);
}

void TestContentView::searchFollowsTheCatalogue()
{
    const QString tool = m_tools.printing(m_newer);
    Window window(tool);
    auto *field = window.find<QLineEdit>("search");
    auto *scope = window.find<QToolButton>("searchScope");
    QCOMPARE(scope->text(), QStringLiteral("UUID"));
    window.search("9C1A"); // before any listing
    QVERIFY(window.find<NoResultsPanel>("noResultsPanel")->isVisible());
    QCOMPARE(window.find<NoResultsPanel>("noResultsPanel")->description(),
             QStringLiteral("No results found for \u201C9C1A\u201D"));
    QVERIFY(window.find("searchAllFields")->isVisible()); // a way out of the UUID scope

    QVERIFY(window.refresh());
    // Each scope's index is made ahead, as the listing comes and as the
    // scope is chosen, before anything is typed.
    const auto *filter = window.view->findChild<AppexFilter *>();
    window.search(QString());
    window.action("All Fields")->trigger();
    spareTimePool()->waitForDone();
    Window::settle();
    QVERIFY(filter->isIndexedFor(AppexSearch::Scope::AllFields));
    window.action("UUID")->trigger();
    window.search("n1");
    QCOMPARE(window.names(), QStringList({"New", "Only the UUID changes"}));
    QCOMPARE(window.text("counts"), QStringLiteral("2 matches"));
    QVERIFY(window.view->findChild<MessageRowDelegate *>()->display().isSearching);
    QCOMPARE(window.text("count"), QStringLiteral("2 of 10"));
    // The scope stays in sight once the placeholder has gone.
    QVERIFY(scope->isVisible());
    QCOMPARE(scope->text(), QStringLiteral("UUID"));
    QVERIFY(field->textMargins().left() >= scope->width()); // the query beside it
    // The field's clear button shows with a query, and clears it.
    auto *clearSearch = field->findChild<QAction *>("clearSearch");
    QVERIFY(clearSearch->isVisible());
    clearSearch->trigger();
    QCOMPARE(window.names().size(), 10);
    QVERIFY(!clearSearch->isVisible());
    window.search("n1");

    window.search("twice");
    window.find("searchAllFields")->click();
    Window::settle();
    QCOMPARE(scope->text(), QStringLiteral("All Fields"));

    QCOMPARE(Settings::read().searchScope, AppexSearch::Scope::AllFields);
    QCOMPARE(Window(tool).find<QToolButton>("searchScope")->text(), QStringLiteral("All Fields"));
    window.search("twice");
    QCOMPARE(window.text("counts"), QStringLiteral("3 matches"));
    // Another listing: the results are those of the new records.
    QFile::remove(tool);
    QVERIFY(QFile::copy(m_tools.printing(readTestData("listings/older.txt")), tool));
    QVERIFY(window.refresh());
    QCOMPARE(window.names(), QStringList({"Twice first", "Twice second"}));

    window.search("");
    QCOMPARE(window.names().size(), 9);
    QCOMPARE(window.text("count"), QStringLiteral("9 appexes"));
    QVERIFY(!window.find<QLabel>("counts")->text().contains("match"));
    QVERIFY(!window.view->findChild<MessageRowDelegate *>()->display().isSearching);
}

void TestContentView::copy_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("clipboard");

    const QString version = "Version\t/A/Version.appex\t\t\twidgetkit-extension\tN3";
    const QString elected = "Elected\t/A/Elected.appex\t\t\twidgetkit-extension\tN4";
    QTest::newRow("catalogue, in list order")
        << "" << QList<int>{9, 0} << "Copy" << elected + "\n" + version;
    QTest::newRow("search results") << "N3" << QList<int>{0} << "Copy" << version;
    QTest::newRow("UUIDs") << "" << QList<int>{1, 0} << "Copy UUID"
                           << "N4\nN8";
    QTest::newRow("identifiers") << "" << QList<int>{0} << "Copy Identifier"
                                 << "com.example.Elected";
}

void TestContentView::copy()
{
    QFETCH(QString, query);
    QFETCH(QList<int>, rows);
    QFETCH(QString, action);
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    window.search(query);
    window.select(rows);
    QApplication::clipboard()->clear();
    window.action(action)->trigger();
    QTEST(QApplication::clipboard()->text(), "clipboard");
}

void TestContentView::togglesAndTheWindowPersist()
{
    Window window(m_tools.printing(m_newer));
    Window other(m_tools.printing(m_newer));
    window.find("showPaths")->click();
    window.find("showUUID")->click();
    Window::settle();
    const auto display = window.view->findChild<MessageRowDelegate *>()->display();
    QVERIFY(display.showPaths && display.showUUID);
    QVERIFY(Settings::read().showPaths && Settings::read().showUUID);
    QVERIFY(!other.find("showUUID")->isChecked()); // open windows keep their own

    // The next window lies exactly where the last one was left, not a
    // title bar further down.
    window.view->setGeometry(40, 50, 700, 500);
    Window::settle();
    const QRect left = window.view->geometry();
    window.view->close();
    Window later(m_tools.printing(m_newer));
    QVERIFY(later.find("showPaths")->isChecked());
    QCOMPARE(later.view->geometry(), left);
    QCOMPARE(left.size(), QSize(700, 500));
}

void TestContentView::saveAsRTF()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    window.search("zz"); // the report ignores the search
    window.find("saveAsRTF")->click();
    QCOMPARE(window.reportPanel->proposedNames,
             QStringList{"Zephlist" + dateStamp(window.view->appexer().theDate()) + ".text"});
    QTemporaryDir dir;
    window.reportPanel->completions.first()(SavePanel::Response::OK, dir.filePath("report.rtf"));
    QFile report(dir.filePath("report.rtf"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QCOMPARE(report.readAll().count("\\par\n"), 10);
}

void TestContentView::listingsAsFiles()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(!window.action("Save Listing")->isEnabled());
    QVERIFY(window.job([&] {
        window.action("Open Listing")->trigger();
        window.openPanel->completions.first()(testDataPath("listings/older.txt"));
    }));
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist \u2014 older.txt"));
    QCOMPARE(window.text("count"), QStringLiteral("9 appexes"));

    // A file dropped on the window is opened too.
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(testDataPath("listings/newer.txt"))});
    QVERIFY(window.job([&] {
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject *>(window.view.get())->event(&drop); // no drag to pass it on
    }));
    QCOMPARE(window.view->windowTitle(), QStringLiteral("Zephlist \u2014 newer.txt"));

    window.action("Save Listing")->trigger();
    QCOMPARE(window.listingPanel->proposedNames, QStringList{"newer.txt"});
    QTemporaryDir dir;
    window.listingPanel->completions.first()(SavePanel::Response::OK, dir.filePath("copy.txt"));
    QFile copy(dir.filePath("copy.txt"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), m_newer); // exactly the bytes read
    QCOMPARE(window.note(), QStringLiteral("Saved \u201Ccopy.txt\u201D"));
    window.find<ElidedLabel>("note")->setFullText({});
    window.listingPanel->completions.first()(SavePanel::Response::OK, dir.path()); // a folder
    QCOMPARE(window.alert->details.size(), 1);
    QVERIFY(window.note().isEmpty());

    // The next listing is looked for beside the one shown.
    window.action("Compare with Listing")->trigger();
    QCOMPARE(
        window.openPanel->folders,
        QStringList({QString(), QFileInfo(testDataPath("listings/newer.txt")).absolutePath()}));

    // A FIFO could hold the window up: refused with a reason.
    QVERIFY(QProcess::execute("mkfifo", {dir.filePath("fifo")}) == 0);
    window.view->openListing(dir.filePath("fifo"));
    QVERIFY(window.bar("failureBar")->text().contains("not a regular file"));

    // A file that is not there, or a loop of links, is told the system's
    // reason, as the command line tells it.
    QVERIFY(QFile::link(dir.filePath("loop"), dir.filePath("loop")));
    for (const auto &[name, reason] : {std::pair("missing", "No such file or directory"),
                                       std::pair("loop", "Too many levels of symbolic links")}) {
        const QString file = dir.filePath(name);
        QVERIFY(!window.job([&] { window.view->openListing(file); }));
        QCOMPARE(
            window.bar("failureBar")->text(),
            QStringLiteral("The listing \u201C%1\u201D could not be read: %2.").arg(file, reason));
    }
}

void TestContentView::comparison()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    QVERIFY(window.job([&] {
        window.action("Compare with Listing")->trigger();
        window.openPanel->completions.first()(testDataPath("listings/older.txt"));
    }));
    QVERIFY(window.bar("informationBar")->isVisible());
    QCOMPARE(window.text("counts"), QStringLiteral("3 added \u00b7 4 changed \u00b7 2 removed"));
    QCOMPARE(window.names().size(), 12); // the removed ones shown too
    window.select({0});
    QVERIFY(window.action("Reset")->isEnabled());
    const auto gone = int(window.names().indexOf("Gone")); // removed: nothing left to elect
    QVERIFY(gone > 0);
    window.select({gone});
    for (const char *election : {"Enable", "Disable", "Reset"})
        QVERIFY(!window.action(election)->isEnabled());
    window.action("Show Details")->trigger();
    const std::pair<const char *, const char *> told[] = {
        {"Version", "Changed since the older listing.\nVersion 1.0 \u2192 1.1\n"},
        {"Elected", "\nElection use \u2192 ignore\n"},
        {"New", "New since the older listing."},
        {"Gone", "Removed since the older listing; these are its last values.\nCategory"}};
    for (const auto &[name, text] : told) {
        window.select({int(window.names().indexOf(name))});
        const QString details = window.details();
        QVERIFY2(details.contains(text), qPrintable(details));
    }
    window.action("Show Changes Only")->trigger();
    QCOMPARE(window.names().size(), 9);
    window.action("Clear Comparison")->trigger();
    Window::settle();
    QVERIFY(!window.bar("informationBar")->isVisible());
    QCOMPARE(window.names().size(), 10);
    QVERIFY(!window.action("Show Changes Only")->isChecked());
}

void TestContentView::elections()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("elections").toUtf8());
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.refresh());
    window.search("com.apple.ui.TrackpadSettings");
    window.action("All Fields")->trigger();
    Window::settle();
    window.select({0});
    const auto election = [&] {
        return window.list()
            ->model()
            ->index(0, 0)
            .data(Appexer::RecordRole)
            .value<Appex>()
            .election();
    };
    QVERIFY(!window.action("Enable")->isEnabled()); // already in use
    QVERIFY(window.action("Disable")->text().contains(u"\u201CTrackpad Settings\u201D"));

    window.action("Disable")->trigger(); // declined: nothing happens
    QCOMPARE(window.questions.size(), 1);
    QVERIFY(window.questions.first().contains("Trackpad Settings"));
    QVERIFY(!window.view->catalogue().isBusy());
    window.answer = true;
    window.action("Disable")->trigger(); // elects, then lists again
    QTRY_COMPARE(election(), AppexElection::Ignore);

    // A captured listing is no place to elect the system's extensions.
    QVERIFY(window.job([&] { window.view->openListing(testDataPath("listings/older.txt")); }));
    window.search("");
    window.select({0});
    QVERIFY(!window.action("Reset")->isEnabled());
}

void TestContentView::electionsKeepTheChoiceAndTellWhatBecameOfIt()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("kept").toUtf8());
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.refresh());
    const QString trackpad = QStringLiteral("com.apple.ui.TrackpadSettings");
    const auto chosen = [&] {
        const QModelIndexList rows = window.list()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().data(Appexer::RecordRole).value<Appex>() : Appex();
    };
    const auto choose = [&] {
        const auto rows = window.list()->model();
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (rows->index(row, 0).data(Appexer::RecordRole).value<Appex>().identifier() ==
                trackpad)
                return window.select({row});
        }
    };
    choose();
    window.answer = true;
    QVERIFY(window.job([&] { window.action("Disable")->trigger(); }));
    QCOMPARE(chosen().identifier(), trackpad); // in the listing made since
    QCOMPARE(chosen().election(), AppexElection::Ignore);
    QCOMPARE(window.note(), QStringLiteral("Disabled \u201CTrackpad Settings\u201D."));

    // Reset asks as Disable does; declined, nothing happens.
    window.answer = false;
    window.action("Reset")->trigger();
    QCOMPARE(window.questions.last(),
             QStringLiteral("Reset \u201CTrackpad Settings\u201D to default?"));
    QVERIFY(!window.view->catalogue().isBusy());
    window.answer = true;
    QVERIFY(window.job([&] { window.action("Reset")->trigger(); }));
    QCOMPARE(window.questions.size(), 3);
    QCOMPARE(chosen().identifier(), trackpad);
    QCOMPARE(chosen().election(), AppexElection::Use);
    QCOMPARE(window.note(), QStringLiteral("Reset \u201CTrackpad Settings\u201D."));

    // A change that macOS does not keep says so over the list, the record still chosen.
    qputenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS", "1");
    const bool kept = window.job([&] { window.action("Disable")->trigger(); });
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    QVERIFY(!kept);
    QVERIFY(window.bar("failureBar")->isVisible());
    QCOMPARE(window.bar("failureBar")->text(),
             QStringLiteral("macOS did not keep the change for \u201CTrackpad Settings\u201D."));
    QCOMPARE(chosen().identifier(), trackpad);
    QVERIFY(window.job([&] { window.action("Disable")->trigger(); })); // the next success clears it
    QVERIFY(!window.bar("failureBar")->isVisible());
}

void TestContentView::electionsActOnlyOnAVisibleChoice()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("unseen").toUtf8());
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    window.answer = true;
    QVERIFY(window.refresh());
    const auto nothingHappens = [&] {
        Window::settle();
        for (const char *command : {"enable", "disable", "resetElection", "showInFileManager"}) {
            if (window.find<QAction>(command)->isEnabled())
                return false;
            window.find<QAction>(command)->trigger();
        }
        return window.questions.isEmpty() && !window.view->catalogue().isBusy();
    };
    // The focus on the first row, as the list gives it when it gets the keyboard.
    window.list()->selectionModel()->setCurrentIndex(window.list()->model()->index(0, 0),
                                                     QItemSelectionModel::NoUpdate);
    QVERIFY(nothingHappens());
    // Problems Only hides the row chosen: the focus moves on, to a row not chosen.
    window.select({3});
    QVERIFY(window.find<QAction>("resetElection")->isEnabled());
    window.action("Problems Only")->trigger();
    Window::settle();
    QVERIFY(window.list()->currentIndex().isValid());
    QVERIFY(nothingHappens());
}

void TestContentView::keyboard()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(QTest::qWaitForWindowActive(window.view.get()));

    // Tab leaves the table's rows; the view shown next takes the keyboard.
    QVERIFY(window.refresh());
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    table->setFocus();
    QVERIFY(table->hasFocus());
    QTest::keyClick(table, Qt::Key_Tab);
    QVERIFY(!table->hasFocus());
    table->setFocus();
    QVERIFY(table->hasFocus());
    window.action("As Rows")->trigger();
    QVERIFY(window.list()->hasFocus());

    auto *field = window.find<QLineEdit>("search");
    field->setText("abc");
    window.list()->setFocus();
    QTest::keySequence(window.view.get(), QKeySequence::Find);
    QVERIFY(field->hasFocus());
    QCOMPARE(field->selectedText(), QStringLiteral("abc"));

    // Shift+F10 opens the rows' menu, as the context key does.
    auto *menu = window.list()->findChild<QMenu *>("rowMenu");
    window.list()->setFocus();
    QTest::keyClick(window.list(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(menu->actions().contains(window.action("Select All")));
    menu->hide();

    // Tab goes through the controls as they lie on screen, top to bottom.
    QStringList order;
    for (QWidget *widget = field->nextInFocusChain(); widget != window.list();
         widget = widget->nextInFocusChain()) {
        if (widget->isVisible() && widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
    }
    QCOMPARE(order, QStringList({"sortBySDK", "sortByParent", "sortByUUID", "sortByName",
                                 "getAppexes", "showPaths", "showUUID", "saveAsRTF"}));
}

// With every pane shown, the controls and the search make one line above
// them, and the details' buttons another under the details.
void TestContentView::controlsLieOnOneLineAcrossTheWindow_data()
{
    QTest::addColumn<qreal>("pointSize"); // of the window's font; 0 for the platform's
    QTest::newRow("platform's font") << 0.0;
    QTest::newRow("10 pt, as the GTK theme gives it") << 10.0;
}

void TestContentView::controlsLieOnOneLineAcrossTheWindow()
{
    QFETCH(qreal, pointSize);
    const QFont platformFont = QApplication::font();
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(platformFont); });
    if (pointSize > 0) {
        QFont larger = platformFont;
        larger.setPointSizeF(pointSize);
        QApplication::setFont(larger);
    }
    Settings::storeShowSidebar(true);
    Settings::storeShowDetails(true);
    Window window(m_tools.printing(m_newer));
    window.view->resize(1000, 650);
    QVERIFY(window.refresh());
    auto *controls = window.find<ControlRow>("controls");
    controls->setCount(WindowRules::shownCountText(10'068, 100'000)); // a search of a large listing
    Window::settle();
    const auto place = [&window](const QWidget *widget) {
        return QRect(widget->mapTo(window.view.get(), QPoint()), widget->size());
    };
    const char *const names[] = {"sortBySDK", "sortByName", "getAppexes",
                                 "count",     "showUUID",   "saveAsRTF"};
    const QRect search = place(window.find<QLineEdit>("search"));
    for (const char *name : names) {
        const QRect control = place(window.find<QWidget>(name));
        QVERIFY2(control.top() < search.center().y() && search.center().y() < control.bottom(),
                 name);
        QVERIFY2(control.right() < search.left(), name);
    }
    QCOMPARE(search.right() + 8 + 1, window.view->width()); // at the right end
    const QRect sidebar = place(window.find<QWidget>("sidebar"));
    QVERIFY(search.bottom() < sidebar.top());
    const auto buttons = window.find<QWidget>("detailsButtons")->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 5);
    for (const QToolButton *button : buttons) {
        QCOMPARE(place(button).top(), place(buttons.first()).top());
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    }

    // Where a short count just leaves the controls one line, a longer one
    // sends the sort entries to a line of their own: no control is cut.
    controls->setCount(WindowRules::countText(10));
    const auto oneLine = [&] {
        Window::settle(); // the window's new width
        Window::settle(); // the lines that it leaves room for
        const QRect sort = place(window.find<QWidget>("sortBySDK"));
        const int middle = place(window.find<QWidget>("getAppexes")).center().y();
        return sort.top() < middle && middle < sort.bottom();
    };
    int width = 1000;
    while (oneLine())
        window.view->resize(width -= 10, 650);
    window.view->resize(width += 10, 650);
    QVERIFY(oneLine());
    controls->setCount(WindowRules::shownCountText(10'068, 100'000));
    QVERIFY(!oneLine());
    for (const char *name : names) {
        const QWidget *control = window.find<QWidget>(name);
        QVERIFY2(control->width() >= control->sizeHint().width(), name);
    }
}

void TestContentView::narrowWindowAndWidestRow()
{
    Settings::storeShowSidebar(true); // both panes beside the list
    Settings::storeShowDetails(true);
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.view->minimumSizeHint().width() <= 620); // half of a small screen
    window.view->resize(620, 500);
    QVERIFY(window.refresh());
    window.find("showPaths")->click();
    Window::settle();
    QCOMPARE(window.view->width(), 620);
    auto *delegate = window.view->findChild<MessageRowDelegate *>();
    const auto widestShown = [&] {
        int widest = 0;
        for (int row = 0; row < window.names().size(); ++row)
            widest = std::max(
                widest,
                delegate->rowWidth(
                    window.list()->model()->index(row, 0).data(Appexer::RecordRole).value<Appex>(),
                    window.list()->font()));
        return widest;
    };
    const int widest = widestShown();
    QVERIFY(widest > window.list()->viewport()->width()); // the list scrolls to its widest row
    QCOMPARE(window.list()->header()->sectionSize(0), widest);

    window.search("n"); // every row, now with its UUID
    Window::settle();
    QCOMPARE(window.list()->header()->sectionSize(0), widestShown());
    window.search("n1"); // fewer rows, narrower; a sort keeps them as wide
    for (const char *sort : {"sortByName", "sortBySDK"}) {
        window.find(sort)->click();
        Window::settle();
        QVERIFY(widestShown() < widest);
        QCOMPARE(window.list()->header()->sectionSize(0),
                 std::max(widestShown(), window.list()->viewport()->width()));
    }
}

// As the window narrows the details and then the sidebar give up room, each
// down to its least, before the list does; room gained goes to the list.
void TestContentView::sidePanesShrinkBeforeTheList()
{
    Settings::storeShowSidebar(true);
    Settings::storeShowDetails(true);
    Window window(m_tools.printing(m_newer));
    window.view->resize(1400, 650);
    Window::settle();
    auto *panes = window.find<QSplitter>("panes");
    const QList<int> wide = panes->sizes();
    const auto least = [&](int pane) { return panes->widget(pane)->minimumSizeHint().width(); };
    QVERIFY(wide[0] > least(0) && wide[2] > least(2));
    const int room = wide[0] - least(0) + wide[2] - least(2);

    window.view->resize(1400 - (wide[2] - least(2)) - 10, 650); // the details at their least
    Window::settle();
    QCOMPARE(panes->sizes(), QList<int>({wide[0] - 10, wide[1], least(2)}));
    window.view->resize(1400 - room - 20, 650); // the list gives room only now
    Window::settle();
    QCOMPARE(panes->sizes(), QList<int>({least(0), wide[1] - 20, least(2)}));
    window.view->resize(1400, 650); // and the panes have their room back
    Window::settle();
    QCOMPARE(panes->sizes(), wide);
}

// A sort keeps the chosen record in sight where it goes; a search that
// leaves it out shows its results from their start.
void TestContentView::choiceStaysInSight()
{
    QByteArray listing;
    for (int record = 0; record < 300; ++record)
        listing += "UUID = U" + QByteArray::number(1000 + record) + "\nDisplay Name = N" +
                   QByteArray::number(1300 - record) + "\n\n";
    Window window(m_tools.printing(listing));
    QVERIFY(window.refresh());
    window.find("sortByUUID")->click();
    QTreeView *list = window.list();
    list->setCurrentIndex(list->model()->index(2, 0)); // U1002, N1298: last by name
    Window::settle();
    const auto inSight = [list] {
        return list->viewport()->rect().intersects(list->visualRect(list->currentIndex()));
    };
    QVERIFY(inSight());
    window.find("sortByName")->click();
    Window::settle();
    QCOMPARE(list->currentIndex().row(), 297);
    QVERIFY(inSight());

    window.search("U12"); // U1200 to U1299, which leave it out
    Window::settle();
    QCOMPARE(window.names().size(), 100);
    QCOMPARE(list->verticalScrollBar()->value(), 0);
}

void TestContentView::widestRowAmongManyRows()
{
    // More records than the list keeps of the longest, the rows shown none of them.
    QByteArray listing;
    for (int record = 0; record < 600; ++record) {
        const QByteArray name = record < 550
                                    ? "long" + QByteArray(300, 'x') + QByteArray::number(record)
                                    : "medium" + QByteArray(200, 'y');
        listing += "UUID = U" + QByteArray::number(record) + "\nDisplay Name = " + name + "\n\n";
    }
    Window window(m_tools.printing(listing));
    QVERIFY(window.refresh());
    window.action("All Fields")->trigger();
    window.search("medium");
    QCOMPARE(window.names().size(), 50);
    const auto *delegate = window.view->findChild<MessageRowDelegate *>();
    const int widest = delegate->rowWidth(
        window.list()->model()->index(0, 0).data(Appexer::RecordRole).value<Appex>(),
        window.list()->font());
    QVERIFY(widest > window.list()->viewport()->width());
    QCOMPARE(window.list()->header()->sectionSize(0), widest);
}

// The list measures the rows of the most bytes first, yet a letter of two
// bytes is no wider than one of one: measuring the rows in sight too, it
// scrolls to a wider row of fewer bytes once that comes into sight.
void TestContentView::rowsInSightWidenTheList()
{
    QByteArray listing;
    for (int record = 0; record < 60; ++record)
        listing += "UUID = U" + QByteArray::number(record) + "\nDisplay Name = a" +
                   QString(40, u'\u00E9').toUtf8() + "\n\n";
    listing += "UUID = W\nDisplay Name = z" + QByteArray(70, 'x') + "\n\n";
    Window window(m_tools.printing(listing));
    QVERIFY(window.refresh());
    window.find("sortByName")->click(); // the wide one last, out of sight
    Window::settle();
    const auto *delegate = window.view->findChild<MessageRowDelegate *>();
    const auto widthOf = [&](int row) {
        return delegate->rowWidth(
            window.list()->model()->index(row, 0).data(Appexer::RecordRole).value<Appex>(),
            window.list()->font());
    };
    const int last = window.list()->model()->rowCount() - 1;
    QVERIFY(widthOf(last) > widthOf(0)); // fewer bytes, but wider
    QVERIFY(!window.list()->viewport()->rect().intersects(
        window.list()->visualRect(window.list()->model()->index(last, 0))));
    QCOMPARE(window.list()->header()->sectionSize(0),
             std::max(widthOf(0), window.list()->viewport()->width()));
    window.list()->scrollToBottom();
    Window::settle();
    QCOMPARE(window.list()->header()->sectionSize(0), widthOf(last));
    QCOMPARE(window.list()->horizontalScrollBar()->maximum(),
             widthOf(last) - window.list()->viewport()->width());
}

// A value of megabytes shows its start in the rows and the table, which
// measure and draw it; the record keeps it whole.
void TestContentView::hugeValuesShowCut()
{
    const QString huge = QString(3'000'000, u'x') + QStringLiteral("\U0001F600end");
    QTemporaryDir dir;
    QFile listing(dir.filePath(QStringLiteral("huge.txt")));
    QVERIFY(listing.open(QIODevice::WriteOnly));
    listing.write("+    com.example.Huge(1.0)\n\t            Path = /A/" + huge.toUtf8() +
                  "\n\t            UUID = H1\n\t             SDK = " + huge.toUtf8() +
                  "\n\t    Display Name = " + huge.toUtf8() + "\n");
    listing.close();
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.job([&] { window.view->openListing(listing.fileName()); }));
    const Appex record = window.view->appexer().appexList().value(0);
    QCOMPARE(record.name(), huge);

    const QString cut = QString(RecordFacts::shownLength, u'x') + u'\u2026';
    const QModelIndex row = window.list()->model()->index(0, 0);
    QCOMPARE(MessageRow(row.data(Appexer::RecordRole).value<Appex>(), true, true, true).items(),
             QList<MessageRow::Item>(
                 {{cut.sliced(6), MessageRow::Colour::Green}, // without "SDK = "
                  {cut, MessageRow::Colour::Text},
                  {QStringLiteral("/A/") + cut.chopped(4) + u'\u2026', MessageRow::Colour::Brown},
                  {QStringLiteral("H1"), MessageRow::Colour::Red}}));
    const QAbstractItemModel *cells = window.find<QTableView>("appexTable")->model();
    for (const int column : {AppexColumns::Name, AppexColumns::Category})
        QCOMPARE(cells->index(0, column).data().toString(), cut);
}

void TestContentView::dragEnterHighlights()
{
    Window window(m_tools.printing(m_newer));
    const auto enter = [&](const QList<QUrl> &urls) {
        QMimeData dragged;
        dragged.setUrls(urls);
        QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton,
                              Qt::NoModifier);
        static_cast<QObject *>(window.view.get())->event(&event);
        return event.isAccepted();
    };
    const QUrl file = QUrl::fromLocalFile(testDataPath("listings/newer.txt"));
    QVERIFY(!enter({file, file}));
    QVERIFY(!findHighlight(window));
    QVERIFY(enter({file}));
    QVERIFY(findHighlight(window));
    QDragLeaveEvent leave;
    static_cast<QObject *>(window.view.get())->event(&leave);
    QVERIFY(!findHighlight(window));
}

void TestContentView::tableSortsAndKeepsItsLayout()
{
    QSettings().setValue("tableLayout", QByteArray("not a layout")); // falls back silently
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    QAbstractItemModelTester tester(table->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(table->isVisible() && !window.list()->isVisible() && Settings::read().asTable);
    QHeaderView *header = table->horizontalHeader();
    // A sort entry's order shows on the column it orders by, if one shows it.
    window.find("sortByUUID")->click();
    Window::settle();
    QCOMPARE(header->sortIndicatorSection(), int(AppexColumns::Uuid));
    window.find("sortBySDK")->click();
    Window::settle();
    QCOMPARE(header->sortIndicatorSection(), -1);
    // A header's order is the table's own: no sort entry, none stored.
    clickHeader(table, AppexColumns::Identifier);
    Window::settle();
    QCOMPARE(window.names().first(), QStringLiteral("No header"));
    for (const char *entry : {"sortBySDK", "sortByParent", "sortByUUID", "sortByName"})
        QVERIFY(!window.find(entry)->isChecked());
    QCOMPARE(Settings::read().sortCode, 0);

    header->resizeSection(AppexColumns::Identifier, 123);
    header->moveSection(header->visualIndex(AppexColumns::Identifier), 0);
    const int nameWidth = header->sectionSize(AppexColumns::Name);
    const int newRow = int(window.names().indexOf("New"));
    table->setCurrentIndex(table->model()->index(newRow, AppexColumns::Version));
    window.search("n1"); // rows come and go; the columns stay as they are
    QCOMPARE(table->currentIndex().column(), int(AppexColumns::Version));
    QCOMPARE(table->currentIndex().data(Appexer::RecordRole).value<Appex>().name(),
             QStringLiteral("New"));
    window.search("");
    window.action("Problems Only")->trigger();
    QVERIFY(window.names().isEmpty());
    window.action("Problems Only")->trigger();
    QCOMPARE(header->sectionSize(AppexColumns::Identifier), 123);
    QCOMPARE(header->sectionSize(AppexColumns::Name), nameWidth);
    window.view.reset(); // kept as the window goes, if not before
    Window later(m_tools.printing(m_newer));
    QHeaderView *kept = later.find<QTableView>("appexTable")->horizontalHeader();
    QVERIFY(later.find<QTableView>("appexTable")->isVisible());
    QCOMPARE(kept->sectionSize(AppexColumns::Identifier), 123);
    QCOMPARE(kept->logicalIndex(0), int(AppexColumns::Identifier));
}

void TestContentView::tableColumnsSortByWhatTheyShow_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("ascending");

    // Each column's values order otherwise by their bytes (listings/columns.txt).
    QTest::newRow("state, as the legend lists them")
        << int(AppexColumns::State)
        << QStringList{"\u2713", "\u2298", "\u26A0", "\u26A0", "\u26A0"};
    QTest::newRow("name, ignoring case")
        << int(AppexColumns::Name) << QStringList{"Alpha", "Bravo", "charlie", "delta", "echo"};
    QTest::newRow("category, by its name, not its point or SDK")
        << int(AppexColumns::Category)
        << QStringList{"App Intents", "Finder", "Mail", "Safari", "Smart Cards"};
    QTest::newRow("parent") << int(AppexColumns::Parent)
                            << QStringList{"apple", "Books", "Contacts", "mail", "Notes"};
    QTest::newRow("version, 1.2 before 1.10")
        << int(AppexColumns::Version) << QStringList{"1.2", "1.9.1", "1.10", "2", "10.0"};
    QTest::newRow("identifier") << int(AppexColumns::Identifier)
                                << QStringList{"com.example.alpha", "com.example.beta",
                                               "com.example.Delta", "com.example.Gamma",
                                               "com.example.Zeta"};
    QTest::newRow("registered, by time across time zones")
        << int(AppexColumns::Registered)
        << QStringList{"2026-03-01 12:00:00 +0300", "2026-03-01 10:00:00 +0000",
                       "2026-03-01 10:30:00 +0000", "2026-03-01 09:00:00 -0200",
                       "2026-02-28 23:30:00 -1200"};
    QTest::newRow("path") << int(AppexColumns::Path)
                          << QStringList{"/A/Two.appex", "/b/One.appex", "/c/Three.appex",
                                         "/D/Four.appex", "/e/Five.appex"};
    QTest::newRow("UUID, respecting case")
        << int(AppexColumns::Uuid) << QStringList{"A1", "B5", "C3", "a4", "b2"};
}

void TestContentView::tableColumnsSortByWhatTheyShow()
{
    QFETCH(int, column);
    QFETCH(QStringList, ascending);
    Window window(m_tools.printing(readTestData("listings/columns.txt")));
    QVERIFY(window.refresh());
    window.find("showPaths")->click();
    window.find("showUUID")->click();
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    const QStringList descending(ascending.rbegin(), ascending.rend());
    for (const auto &[texts, order] :
         {std::pair(ascending, Qt::AscendingOrder), std::pair(descending, Qt::DescendingOrder)}) {
        clickHeader(table, column); // a second click, the other way
        Window::settle();
        QCOMPARE(columnTexts(table, column), texts);
        QCOMPARE(table->horizontalHeader()->sortIndicatorSection(), column);
        QCOMPARE(table->horizontalHeader()->sortIndicatorOrder(), order);
    }
}

void TestContentView::tableShowsComparisons()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    QVERIFY(table->horizontalHeader()->isSectionHidden(AppexColumns::Change)); // as in the rows
    QVERIFY(window.job([&] {
        window.action("Compare with Listing")->trigger();
        window.openPanel->completions.first()(testDataPath("listings/older.txt"));
    }));
    QVERIFY(!table->horizontalHeader()->isSectionHidden(AppexColumns::Change));
    const QAbstractItemModel *cells = table->model();
    const auto cell = [&](const QString &name, int column) {
        return cells->index(int(window.names().indexOf(name)), column);
    };
    const QPalette palette = QGuiApplication::palette();
    const QColor base = palette.color(QPalette::Base);
    const std::pair<const char *, AppexChange> marked[] = {{"New", AppexChange::Added},
                                                           {"Version", AppexChange::Changed},
                                                           {"Gone", AppexChange::Removed}};
    for (const auto &[name, change] : marked) {
        const auto [symbol, colour] = MessageRowDelegate::changeMark(change, palette);
        const bool gone = change == AppexChange::Removed;
        QCOMPARE(cell(name, AppexColumns::Change).data().toString(), symbol);
        QCOMPARE(cell(name, AppexColumns::Change).data(Qt::ForegroundRole).value<QColor>(),
                 gone ? MessageRowDelegate::faded(colour, base) : colour);
        for (const int column : {AppexColumns::Change, AppexColumns::Name, AppexColumns::Version})
            QCOMPARE(cell(name, column).data(Qt::FontRole).value<QFont>().strikeOut(), gone);
    }
    QVERIFY(cell("Same", AppexColumns::Change).data().toString().isEmpty());
    // The rows' colours, faded for the record removed.
    const QColor path = MessageRowDelegate::colourOf(MessageRow::Colour::Brown, palette);
    QCOMPARE(cell("Same", AppexColumns::Path).data(Qt::ForegroundRole).value<QColor>(), path);
    QCOMPARE(cell("Gone", AppexColumns::Path).data(Qt::ForegroundRole).value<QColor>(),
             MessageRowDelegate::faded(path, base));
    QCOMPARE(cell("Gone", AppexColumns::State).data(Qt::ForegroundRole).value<QColor>(),
             MessageRowDelegate::faded(palette.color(QPalette::Text), base));
    clickHeader(table, AppexColumns::Change);
    Window::settle();
    QCOMPARE(columnTexts(table, AppexColumns::Change).join(u' '),
             QStringLiteral("   + + + ~ ~ ~ ~ \u2212 \u2212"));
}

void TestContentView::tableColumnsFollowShowPathsAndUuid()
{
    Window window(m_tools.printing(m_newer));
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    QHeaderView *header = table->horizontalHeader();
    QVERIFY(header->isSectionHidden(AppexColumns::Path));
    QVERIFY(header->isSectionHidden(AppexColumns::Uuid));
    window.find("showPaths")->click();
    QVERIFY(!header->isSectionHidden(AppexColumns::Path));
    QVERIFY(header->isSectionHidden(AppexColumns::Uuid));
    window.find("showUUID")->click();
    QVERIFY(!header->isSectionHidden(AppexColumns::Uuid));
    // The header's menu shows and hides them as the toggles do.
    emit header->customContextMenuRequested({4, 4});
    auto *menu = table->findChildren<QMenu *>().last();
    for (QAction *entry : menu->actions()) {
        if (entry->text() == QLatin1String("Path"))
            entry->trigger();
    }
    QVERIFY(header->isSectionHidden(AppexColumns::Path));
    QVERIFY(!window.find("showPaths")->isChecked());
    menu->close();
}

// A row's tip lays its state, problems and the legend out a line each; a
// cell's tip tells only what the cell cannot show.
void TestContentView::tipsTellWhatTheRowsAndCellsCannot()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    const QRect first = window.list()->visualRect(window.list()->model()->index(0, 0));
    QHelpEvent help(QEvent::ToolTip, first.center(),
                    window.list()->viewport()->mapToGlobal(first.center()));
    QCoreApplication::sendEvent(window.list()->viewport(), &help);
    QVERIFY(QToolTip::text().contains(u"ignored<br><br>\u2713  in use<br>\u2298  ignored<br>"));
    QToolTip::hideText();

    window.action("As Table")->trigger();
    auto *table = window.find<AppexTableView>("appexTable");
    const QAbstractItemModel *cells = table->model();
    QCOMPARE(table->toolTipOf(cells->index(0, AppexColumns::State)), QStringLiteral("ignored"));
    QVERIFY(table->toolTipOf(cells->index(0, AppexColumns::Name)).isEmpty()); // shown whole
    table->setColumnHidden(AppexColumns::Path, false);
    table->horizontalHeader()->resizeSection(AppexColumns::Path, 30);
    const QModelIndex path = cells->index(0, AppexColumns::Path);
    QCOMPARE(table->toolTipOf(path), path.data().toString());
}

void TestContentView::openingARowShowsItsDetails()
{
    Window window(m_tools.printing(m_newer));
    QVERIFY(window.refresh());
    QVERIFY(QTest::qWaitForWindowActive(window.view.get()));
    auto *details = window.find<QWidget>("details");
    const auto shown = [&] { return window.details(); };
    QVERIFY(!details->isVisible());
    window.select({2});
    window.list()->setFocus();
    QTest::keyClick(window.list(), Qt::Key_Return);
    QVERIFY(window.action("Show Details")->isChecked() && details->isVisible());
    const auto uuidOf = [](const QModelIndex &row) {
        return row.data(Appexer::RecordRole).value<Appex>().uuid();
    };
    QVERIFY2(shown().contains("UUID\n" + uuidOf(window.list()->model()->index(2, 0))),
             qPrintable(shown()));
    QVERIFY(details->isAncestorOf(QApplication::focusWidget()));

    window.action("Show Details")->trigger(); // off again, then in the table
    window.action("As Table")->trigger();
    auto *table = window.find<QTableView>("appexTable");
    const QModelIndex cell = table->model()->index(4, AppexColumns::Name);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    QVERIFY(details->isVisible());
    QVERIFY2(shown().contains("UUID\n" + uuidOf(cell)), qPrintable(shown()));
}

void TestContentView::sidebarCountsFollowFoundProblems()
{
    QTemporaryDir bundles; // holds none of the listing's bundles
    qputenv("ZEPHLIST_BUNDLE_ROOT", bundles.path().toUtf8());
    Window window(m_tools.printing(m_newer));
    const bool listed = window.refresh();
    qunsetenv("ZEPHLIST_BUNDLE_ROOT");
    QVERIFY(listed);
    QCOMPARE(window.text("counts"), QStringLiteral("10 with problems"));
    QCOMPARE(window.find<QListWidget>("sidebar")->item(1)->text(), QStringLiteral("Problems (10)"));
}

void TestContentView::sidebarAndDetails()
{
    Window window(m_tools.printing(m_newer +
                                   "\n+    com.example.Look(2.0)\n\tUUID = L1\n"
                                   "\tSDK = com.apple.quicklook\n\tDisplay Name = Look\n"));
    QAbstractItemModelTester tester(window.view->findChild<AppexScope *>(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(window.refresh());
    window.action("Go to Sidebar")->trigger();
    auto *sidebar = window.find<QListWidget>("sidebar");
    QVERIFY(sidebar->isVisible() && sidebar->hasFocus());
    QStringList entries;
    for (int row = 0; row < sidebar->count(); ++row)
        entries << sidebar->item(row)->text();
    QCOMPARE(entries,
             QStringList({"All (11)", "Problems (0)", "Widgets (10)", "com.apple.quicklook (1)"}));
    sidebar->setCurrentRow(3);
    QCOMPARE(window.names(), QStringList({"Look"}));
    sidebar->setCurrentRow(2);
    window.search("n1"); // combined with the search
    QCOMPARE(window.names(), QStringList({"New", "Only the UUID changes"}));

    window.action("Show Details")->trigger();
    window.select({0});
    Window::settle();
    const QString details = window.details();
    QVERIFY2(details.contains("UUID\nN1") && details.contains("Identifier\ncom.example.New"),
             qPrintable(details));

    // Another listing, with another extension point among them, still narrows
    // to the widgets: its points are told apart anew.
    QFile other(m_tools.path("points.txt"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("UUID = F1\nSDK = com.apple.FinderSync\nDisplay Name = Find\n\n"
                "UUID = L1\nSDK = com.apple.quicklook\nDisplay Name = Look\n\n"
                "UUID = W1\nSDK = com.apple.widgetkit-extension\nDisplay Name = Widget\n");
    other.close();
    window.search("");
    QVERIFY(window.job([&] { window.view->openListing(other.fileName()); }));
    QCOMPARE(window.names(), QStringList({"Widget"}));
}

void TestContentView::sidebarFollowsProblemsOnly()
{
    Settings::storeProblemsOnly(true); // kept from an earlier run
    Window window(m_tools.printing(m_newer));
    auto *sidebar = window.find<QListWidget>("sidebar");
    QAction *problemsOnly = window.action("Problems Only");
    QCOMPARE(sidebar->currentRow(), 1); // Problems
    QVERIFY(window.refresh());
    QCOMPARE(sidebar->currentRow(), 1);
    problemsOnly->trigger();
    QCOMPARE(sidebar->currentRow(), 0); // All
    sidebar->setCurrentRow(2);          // Widgets
    problemsOnly->trigger();
    QCOMPARE(sidebar->currentRow(), 1);
    QVERIFY(window.names().isEmpty());
    sidebar->setCurrentRow(2); // all of the category's records
    QVERIFY(!problemsOnly->isChecked());
    QCOMPARE(window.names().size(), 10);
}

void TestContentView::allCopiesAndTheirElections()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("copies").toUtf8());
    Window(QStringLiteral(ZEPHLIST_STAND_IN)).action("Show All Copies")->trigger(); // kept
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.action("Show All Copies")->isChecked());
    QVERIFY(window.refresh());
    QCOMPARE(window.text("count"), QStringLiteral("484 appexes"));
    const AppexList &records = window.view->appexer().appexList();
    QCOMPARE(std::count_if(records.begin(), records.end(),
                           [](const Appex &record) { return record.active() == false; }),
             12);
    QCOMPARE(window.text("counts"), QStringLiteral("16 with problems")); // not the copies in use

    window.action("All Fields")->trigger();
    window.search("com.example.notesplus.NotesPlusWidget");
    const auto rows = window.list()->model();
    // The copy in use carries no mark for its stale siblings, which are faded
    // and marked as not used, in the rows and in the table alike.
    const QAbstractItemModel *cells = window.find<QTableView>("appexTable")->model();
    QStringList states;
    for (int row = 0; row < rows->rowCount(); ++row) {
        const Appex copy = rows->index(row, 0).data(Appexer::RecordRole).value<Appex>();
        states << QStringLiteral("%1 %2 %3 %4")
                      .arg(copy.active() == true ? "in use" : "other", RecordFacts::rowMark(copy),
                           cells->index(row, AppexColumns::State).data(Qt::ToolTipRole).toString(),
                           MessageRowDelegate::isFaded(copy, AppexChange::Unchanged) ? "faded"
                                                                                     : "plain");
    }
    states.sort();
    QCOMPARE(states, QStringList({"in use  in use plain", "other \u25CC not used faded",
                                  "other \u25CC not used faded", "other \u25CC not used faded"}));
    int inactive = 0;
    while (rows->index(inactive, 0).data(Appexer::RecordRole).value<Appex>().active() != false)
        ++inactive;
    window.select({inactive});
    Window::settle();
    QVERIFY(!window.action("Disable This Copy")->isEnabled());
    qputenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS", "1");
    const bool kept = window.job([&] { window.action("Enable This Copy")->trigger(); });
    qunsetenv("ZEPHLIST_STANDIN_IGNORE_ELECTIONS");
    QVERIFY(!kept);
    QCOMPARE(window.bar("failureBar")->text(),
             QStringLiteral("macOS kept using the copy at /Applications/Notes Plus.app/Contents/"
                            "PlugIns/NotesPlusWidget.appex."));
}

namespace {

QStringList pathsOf(const AppexList &records)
{
    QStringList paths;
    for (const Appex &record : records)
        paths << record.path();
    return paths;
}

} // namespace

// The clean-up lists every copy first and removes what the user left checked;
// a copy's Copy Command, run in a shell, does what the window would; and a
// registration removed from the window comes back, as does one of an app's.
void TestContentView::registrationsAndCleanUp()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("registrations").toUtf8());
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.refresh());
    window.answer = true;
    QSignalSpy done(&window.view->catalogue(), &CatalogueController::finished);
    window.action("Clean Up Stale Copies")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000); // every copy listed
    QVERIFY(window.action("Show All Copies")->isChecked());
    QVERIFY(window.offered && window.offered->steps().size() > 2);
    QVERIFY(done.wait(10000)); // nothing was kept: all removed
    window.kept = {window.offered->steps().first().removal.path};
    QCOMPARE(CleanupPlan::of(window.view->appexer().appexList()).steps().size(), 0);
    Window::settle();

    // The stand-in's state anew, the first stale copy kept this time.
    QFile::remove(m_settings->filePath("registrations"));
    QVERIFY(window.refresh());
    window.action("Clean Up Stale Copies")->trigger();
    QVERIFY(done.wait(10000));
    const AppexList afterCleanUp = window.view->appexer().appexList();
    const CleanupPlan left = CleanupPlan::of(afterCleanUp);
    QCOMPARE(left.steps().size(), 1);
    const QString stale = left.steps().first().removal.path;
    QCOMPARE(stale, *window.kept.cbegin());

    // Copy Command on the kept copy, run in a shell where pluginkit is the stand-in.
    window.select({int(afterCleanUp.size()) - 1}); // any row first, then the stale copy's
    const QAbstractItemModel *rows = window.list()->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        if (rows->index(row, 0).data(Appexer::RecordRole).value<Appex>().path() == stale)
            window.select({row});
    }
    Window::settle();
    QMenu *commands = window.view->findChild<QMenu *>(QStringLiteral("commandMenu"));
    emit commands->aboutToShow();
    QAction *unregister = nullptr;
    for (QAction *command : commands->actions()) {
        if (command->text().startsWith(QStringLiteral("Unregister This Copy\t")))
            unregister = command;
    }
    QVERIFY(unregister);
    unregister->trigger();
    const QString line = QGuiApplication::clipboard()->text();
    QVERIFY2(line.startsWith(QStringLiteral("pluginkit -r ")), qPrintable(line));
    QVERIFY(QFile::link(QStringLiteral(ZEPHLIST_STAND_IN), m_settings->filePath("pluginkit")));
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       m_settings->path() + u':' + environment.value(QStringLiteral("PATH")));
    shell.setProcessEnvironment(environment);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), line});
    QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);
    QVERIFY(window.refresh());
    QVERIFY(!pathsOf(window.view->appexer().appexList()).contains(stale));

    // Unregistered from the window, after asking, and registered again.
    window.select({0});
    Window::settle();
    const Appex first =
        window.list()->model()->index(0, 0).data(Appexer::RecordRole).value<Appex>();
    QVERIFY(window.job([&] { window.action("Unregister This Copy")->trigger(); }));
    QVERIFY(window.questions.last().contains(first.path()));
    QVERIFY(!pathsOf(window.view->appexer().appexList()).contains(first.path()));
    window.chosenBundle = first.path();
    QVERIFY(window.job([&] { window.action("Register Extension")->trigger(); }));
    QVERIFY(pathsOf(window.view->appexer().appexList()).contains(first.path()));

    // An app: the user picks one of the extensions it holds.
    const QString app = m_settings->filePath(QStringLiteral("Widgets & Co.app"));
    for (const QString bundle : {"Contents/PlugIns/A.appex", "Contents/PlugIns/B.appex"}) {
        QVERIFY(QDir(app).mkpath(bundle + QStringLiteral("/Contents")));
        QFile descriptor(app + u'/' + bundle + QStringLiteral("/Contents/zephlist-standin.txt"));
        QVERIFY(descriptor.open(QIODevice::WriteOnly));
        descriptor.write("identifier=com.example.widgets." + bundle.sliced(17, 1).toUtf8() + '\n');
    }
    window.chosenBundle = app + u'/';
    QVERIFY(window.job([&] { window.action("Register Extension")->trigger(); }));
    QCOMPARE(window.offeredBundles.size(), 2);
    QVERIFY(pathsOf(window.view->appexer().appexList()).contains(window.offeredBundles.last()));

    // Each choice starts in the folder that held the one before, if it is
    // there (the stand-in's are macOS's), and a cancel leaves it.
    window.chosenBundle.clear();
    window.action("Register Extension")->trigger();
    window.action("Register Extension")->trigger();
    QVERIFY(!QFileInfo::exists(QFileInfo(first.path()).absolutePath()));
    QCOMPARE(window.bundleFolders, QStringList({QDir::homePath(), QDir::homePath(),
                                                m_settings->path(), m_settings->path()}));
}

// Each listing that differs is kept; the previous one compares in one step
// and says since when; keeping stops when switched off; clearing asks.
void TestContentView::historyOfListings()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("history-elections").toUtf8());
    const QString folder = m_settings->filePath("history");
    // Later tests keep in the temporary folder they had, whatever ends this one.
    const auto restore = qScopeGuard([previous = qgetenv("ZEPHLIST_HISTORY_DIR")] {
        qputenv("ZEPHLIST_HISTORY_DIR", previous);
    });
    qputenv("ZEPHLIST_HISTORY_DIR", folder.toUtf8());
    const auto keptCount = [&folder] { return ListingHistory(folder).entries().entries.size(); };
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.refresh());
    QVERIFY(window.refresh()); // the same: kept once
    QCOMPARE(keptCount(), 1);
    const auto status = [&window] { return window.note(); };
    QVERIFY2(status().startsWith(QStringLiteral("Since ")) &&
                 status().endsWith(QStringLiteral(": no changes")),
             qPrintable(status()));
    window.select({0});
    Window::settle();
    window.answer = true;
    QVERIFY(window.job([&] { window.action("Disable")->trigger(); })); // the tool lists anew
    QCOMPARE(keptCount(), 2);

    // A change made outside the window shows after the next listing.
    const QString identifier =
        window.list()->model()->index(0, 0).data(Appexer::RecordRole).value<Appex>().identifier();
    QCOMPARE(QProcess::execute(
                 QStringLiteral(ZEPHLIST_STAND_IN),
                 {QStringLiteral("-e"), QStringLiteral("use"), QStringLiteral("-i"), identifier}),
             0);
    QVERIFY(window.refresh());
    QVERIFY2(status().endsWith(QStringLiteral(": 1 changed")), qPrintable(status()));
    QCOMPARE(keptCount(), 3);
    // A listing of every copy is not kept: its copies not used would all show
    // as added next to one of the copies in use.
    QVERIFY(window.job([&] { window.action("Show All Copies")->trigger(); }));
    QCOMPARE(keptCount(), 3);
    QVERIFY(window.job([&] { window.action("Show All Copies")->trigger(); }));

    // Another window keeps a listing: the one before the listing shown is
    // still the previous one.
    QVERIFY(
        !ListingHistory(folder)
             .keep("+    com.example.Other(1)\n\tUUID = 1\n\n", 1, QDateTime::currentDateTimeUtc())
             .warning);
    QVERIFY(window.job([&] { window.action("Compare with Previous Listing")->trigger(); }));
    QCOMPARE(window.view->appexer().changeCount(AppexChange::Changed), 1);
    QCOMPARE(window.view->appexer().changeCount(AppexChange::Added), 0);
    QVERIFY2(window.note().startsWith(QStringLiteral("Since ")), qPrintable(window.note()));
    // A kept listing opened is called by when it was kept; listed again,
    // the tool's listing is kept after it.
    const QString newest = ListingHistory(folder).entryBefore({})->file;
    QVERIFY(window.job([&] { window.view->openListing(newest); }));
    QCOMPARE(window.view->windowTitle(),
             QStringLiteral("Zephlist \u2014 ") + ListingHistory::shownName(newest));
    QVERIFY(window.view->windowTitle().contains(QStringLiteral("Listing of ")));
    QVERIFY(window.refresh());
    QCOMPARE(keptCount(), 5);

    window.action("Keep Listings in History")->trigger();
    QVERIFY(!Settings::read().keepHistory);
    window.action("Clear Comparison")->trigger();
    window.select({0});
    Window::settle();
    QVERIFY(window.job([&] { window.action("Reset")->trigger(); }));
    QCOMPARE(keptCount(), 5);

    window.answer = false;
    window.action("Clear History")->trigger();
    QCOMPARE(keptCount(), 5);
    window.answer = true;
    window.action("Clear History")->trigger();
    QCOMPARE(keptCount(), 0);
}

void TestContentView::detailsTableEveryCopy()
{
    qputenv("ZEPHLIST_STANDIN_STATE", m_settings->filePath("details").toUtf8());
    Settings::storeShowDetails(true);
    Window window(QStringLiteral(ZEPHLIST_STAND_IN));
    QVERIFY(window.refresh()); // the copies in use only
    window.action("All Fields")->trigger();
    window.search("com.example.notesplus.NotesPlusWidget");
    window.select({0});
    Window::settle();
    auto *copies = window.find<QTreeView>("copiesTable");
    QAbstractItemModelTester tester(copies->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(copies->isVisible());
    QCOMPARE(copies->model()->rowCount(), 1);
    auto *others = window.find<QLabel>("otherCopies");
    QVERIFY(others->isVisible());
    QVERIFY(others->text().contains("other copies may be registered"));
    QVERIFY(window.job([&] { emit others->linkActivated("#all"); }));
    QVERIFY(window.action("Show All Copies")->isChecked());
    QVERIFY(!others->isVisible());
    COMPARE_GOLDEN(copiesText(copies->model()), "details/notesplus-copies.tsv");
    // An extension no app holds shows its own folder; a path to cut short
    // at its root, or with no folder, is not lost.
    QCOMPARE(CopiesModel::folderShown("/System/Library/ExtensionKit/Extensions/T.appex"),
             QStringLiteral("/System/Library/ExtensionKit/Extensions"));
    QCOMPARE(CopiesModel::folderShown("/Notes.app/Contents/PlugIns/W.appex"), QStringLiteral("/"));
    QCOMPARE(CopiesModel::folderShown("W.appex"), QStringLiteral("W.appex"));

    // Use This Copy: the list chooses it, the status bar says so, and it
    // comes first in the table.
    copies->setCurrentIndex(copies->model()->index(2, 0));
    const QString path =
        copies->model()->index(2, CopiesModel::Folder).data(Qt::ToolTipRole).toString();
    const AppexList &records = window.view->appexer().appexList();
    const QString uuid = std::find_if(records.begin(), records.end(), [&](const Appex &copy) {
                             return copy.path() == path;
                         })->uuid();
    QVERIFY(window.job([&] { window.find<QAction>("useThisCopy")->trigger(); }));
    QCOMPARE(window.note(), "Now using the copy at " + path + ".");
    const QModelIndexList chosen = window.list()->selectionModel()->selectedRows();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().data(Appexer::RecordRole).value<Appex>().uuid(), uuid);
    QCOMPARE(copies->model()->index(0, CopiesModel::Folder).data(Qt::ToolTipRole).toString(), path);
    QCOMPARE(copies->model()->index(0, 0).data().toString(), QStringLiteral("In use"));
    QVERIFY(!window.find<QAction>("useThisCopy")->isEnabled()); // the one in use now

    // At the pane's own width the table fits without scrolling sideways: the
    // folders and the reasons are cut, and whole in their tips, and the
    // registration shows its day.
    const QWidget *details = window.find<QWidget>("details");
    QCOMPARE(details->width(), details->sizeHint().width());
    QCOMPARE(copies->horizontalScrollBar()->maximum(), 0);
    QModelIndex why = copies->model()->index(0, CopiesModel::Why); // the longest reason
    for (int row = 1; row < copies->model()->rowCount(); ++row) {
        if (const QModelIndex cell = copies->model()->index(row, CopiesModel::Why);
            cell.data().toString().size() > why.data().toString().size())
            why = cell;
    }
    QVERIFY(copies->visualRect(why).width() <
            copies->fontMetrics().horizontalAdvance(why.data().toString()));
    QCOMPARE(why.data(Qt::ToolTipRole), why.data());
    const QModelIndex registered = why.siblingAtColumn(CopiesModel::Registered);
    QCOMPARE(registered.data(Qt::ToolTipRole).toString(),
             registered.data().toString() + QStringLiteral(" 10:14:05 +0000"));

    // Switched off, an extension has no copy in use: its chosen one says so.
    window.search("com.apple.ui.TrackpadSettings");
    window.select({0});
    window.answer = true;
    QVERIFY(window.job([&] { window.action("Disable")->trigger(); }));
    QCOMPARE(copies->model()->index(0, 0).data().toString(), QStringLiteral("Disabled"));
}

// Asked for every copy while a listing runs, the window lists nothing more,
// and the end of that listing chooses nothing: a new listing's rows start
// unchosen, and the record chosen before is not brought back.
void TestContentView::allCopiesAskedWhileBusy()
{
    Settings::storeShowDetails(true);
    Window window(m_tools.write("slow", "sleep 0.3\ncat '" +
                                            testDataPath("listings/newer.txt").toUtf8() + "'"));
    QVERIFY(window.refresh());
    window.select({0});
    Window::settle();
    const bool ended = window.job([&] {
        window.find("getAppexes")->click();
        emit window.find<QLabel>("otherCopies")->linkActivated("#all");
    });
    QVERIFY(ended);
    QVERIFY(!window.view->catalogue().isBusy());
    QVERIFY(window.list()->selectionModel()->selectedRows().isEmpty());
}

// A long identifier or path breaks after its dots and slashes as the pane
// narrows, never within a word; a copy of the text holds it as it is.
void TestContentView::detailsBreakLongValuesAtDots()
{
    Settings::storeShowDetails(true);
    const QString identifier = QStringLiteral("com.example.very.long.identifier.that.keeps.going");
    Window window(m_tools.printing("+    " + identifier.toUtf8() +
                                   "(1.0)\n\t            UUID = L1\n\t    Display Name = Long\n"));
    QVERIFY(window.refresh());
    window.select({0});
    Window::settle();
    auto *text = window.find<QTextBrowser>("detailsText");
    QVERIFY(text->isVisible());
    text->document()->documentLayout()->documentSize(); // laid out whole
    QStringList lines;                                  // of the identifier's value
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        if (!block.text().startsWith(u"com."))
            continue;
        for (int line = 0; line < block.layout()->lineCount(); ++line)
            lines << block.text().mid(block.layout()->lineAt(line).textStart(),
                                      block.layout()->lineAt(line).textLength());
    }
    QVERIFY2(lines.size() > 1, qPrintable(lines.join(u'|'))); // the pane is narrower
    for (qsizetype line = 0; line + 1 < lines.size(); ++line)
        QVERIFY2(lines[line].endsWith(u"\u200B"), qPrintable(lines.join(u'|')));
    QCOMPARE(lines.join(QString()).remove(u'\u200B'), identifier);

    text->selectAll();
    text->copy();
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.contains(u'\n' + identifier + u'\n'), qPrintable(copied));
    QVERIFY(!copied.contains(u'\u200B'));
}

// The comparison's bar over a narrow list tells of a listing with a long
// name on one line, cut in the middle and whole in its tip, never clipped.
void TestContentView::comparisonBarFitsANarrowList()
{
    QTemporaryDir dir;
    const QString older = dir.filePath(QString(80, u'o') + QStringLiteral(".txt"));
    QVERIFY(QFile::copy(testDataPath("listings/older.txt"), older));
    Window window(m_tools.printing(m_newer));
    window.view->resize(620, 500);
    QVERIFY(window.refresh());
    QVERIFY(window.job([&] {
        window.action("Compare with Listing")->trigger();
        window.openPanel->completions.first()(older);
    }));
    const MessageBar *bar = window.bar("informationBar");
    const QString whole = QStringLiteral("Compared with \u201C%1\u201D: + added, ~ changed, "
                                         "\u2212 removed since.")
                              .arg(QFileInfo(older).fileName());
    QCOMPARE(bar->text(), whole);
    const auto *text = bar->findChild<ElidedLabel *>();
    QVERIFY(text);
    QVERIFY(text->fontMetrics().horizontalAdvance(text->text()) <= text->contentsRect().width());
    QVERIFY2(text->text().startsWith(QStringLiteral("Compared with")) &&
                 text->text().contains(u'\u2026') &&
                 text->text().endsWith(QStringLiteral("removed since.")),
             qPrintable(text->text()));
    QCOMPARE(text->toolTip(), whole);
    for (QWidget *button : bar->buttons()) // beside it, whole
        QVERIFY(button->width() >= button->sizeHint().width());
}

// A note too long for the status bar is cut, whole in its tip; the counts
// beside it stay whole, a "·" between each.
void TestContentView::statusNoteGivesWayToTheCounts()
{
    Window window(m_tools.printing(m_newer));
    window.view->resize(620, 500);
    QVERIFY(window.refresh());
    QVERIFY(window.job([&] {
        window.action("Compare with Listing")->trigger();
        window.openPanel->completions.first()(testDataPath("listings/older.txt"));
    }));
    window.search("n");
    auto *counts = window.find<QLabel>("counts");
    QCOMPARE(counts->text(),
             QStringLiteral("10 matches \u00b7 3 added \u00b7 4 changed \u00b7 2 removed"));

    QTemporaryDir dir;
    const QString saved = dir.filePath(QString(120, u'x') + QStringLiteral(".txt"));
    window.action("Save Listing")->trigger();
    window.listingPanel->completions.first()(SavePanel::Response::OK, saved);
    Window::settle();
    const auto *note = window.find<ElidedLabel>("note");
    const QString whole = QStringLiteral("Saved \u201C%1\u201D").arg(QFileInfo(saved).fileName());
    QCOMPARE(note->fullText(), whole);
    QVERIFY2(note->text().endsWith(u'\u2026'), qPrintable(note->text()));
    QCOMPARE(note->toolTip(), whole);
    QVERIFY(counts->width() >= counts->sizeHint().width());
    QVERIFY(note->geometry().right() < counts->geometry().left());
    QCOMPARE(window.view->width(), 620);

    // Wide enough, it shows whole, with no tip to say more.
    window.view->resize(2400, 500);
    Window::settle();
    QCOMPARE(note->text(), whole);
    QVERIFY(note->toolTip().isEmpty());
}

ZEPHLIST_GUI_TEST_MAIN(TestContentView)
#include "tst_contentview.moc"
