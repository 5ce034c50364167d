#include "contentview.h"

#include "appexcolumns.h"
#include "appexfilter.h"
#include "appexlistview.h"
#include "appexscope.h"
#include "appextableview.h"
#include "categorysidebar.h"
#include "controlrow.h"
#include "detailspane.h"
#include "electioncommands.h"
#include "emptylistingpanel.h"
#include "filecommands.h"
#include "filemanager.h"
#include "messagebar.h"
#include "noresultspanel.h"
#include "panesplitter.h"
#include "recordfacts.h"
#include "recordrows.h"
#include "registrationcommands.h"
#include "searchfield.h"
#include "settings.h"
#include "statusarea.h"
#include "welcomepanel.h"
#include "windowactions.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>

using Command = WindowActions::Command;

ContentView::ContentView(QWidget *parent)
    : ContentView(Services{}, parent)
{}

ContentView::ContentView(Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_startDate(m_services.clock())
    , m_appexer(new Appexer(this))
    , m_filter(new AppexFilter(m_appexer, this))
    , m_catalogue(new CatalogueController(m_appexer, m_services.toolPath, m_services.limits, this))
    , m_actions(new WindowActions(this))
    , m_scope(new AppexScope(m_filter, this))
    , m_columns(new AppexColumns(m_scope, this))
    , m_list(new AppexListView(m_scope, this))
    , m_table(new AppexTableView(m_columns, this))
    , m_sidebar(new CategorySidebar(this))
    , m_search(new SearchField(m_filter, this))
    , m_status(new StatusArea(statusBar(), this))
    , m_noResults(new NoResultsPanel(this))
    , m_welcome(new WelcomePanel((*m_actions)[Command::GetAppexes], this))
    , m_emptyListing(new EmptyListingPanel(this))
{
    m_services.completeFor(this);
    const qint64 storedCode = Settings::read().sortCode;
    m_appexer->sortAppexList(sortCodeFrom(storedCode));
    m_sortCodeShown = storedCode == qint64(sortCodeFrom(storedCode));
    m_files = new FileCommands(m_services, *m_appexer, m_catalogue, m_status, this);
    m_registrations = new RegistrationCommands(m_services, m_catalogue, this);
    m_elections = new ElectionCommands(m_catalogue, m_services.confirm, this);
    setWindowTitle(WindowRules::title({}, false, m_startDate));
    setAcceptDrops(true);
    layOut();
    connectCommands();
    catalogueChanged();
    Settings::restoreWindow(this, QSize(1000, 650)); // comfortable on a laptop
}

// The views go before the models they show, which are the window's own
// children and would otherwise go first, leaving the views' selections
// pointing at them.
ContentView::~ContentView()
{
    delete takeCentralWidget();
}

void ContentView::layOut()
{
    m_controls = new ControlRow(*m_actions, Settings::read().sortCode, m_search, this);
    m_actions->buildMenus(menuBar(),
                          {m_search->uuidScopeAction(), m_search->allFieldsScopeAction()});
    m_actions->fillRowMenu(m_list->rowMenu());
    m_actions->fillRowMenu(m_table->rowMenu());
    m_details = new DetailsPane(
        {(*m_actions)[Command::Enable], (*m_actions)[Command::Disable],
         (*m_actions)[Command::ResetElection]},
        {(*m_actions)[Command::EnableCopy], (*m_actions)[Command::DisableCopy]}, this);
    m_status->addComparisonActions(
        {(*m_actions)[Command::ChangesOnly], (*m_actions)[Command::ClearComparison]});

    // The panels lie centred over the list, which takes the room the bars leave.
    auto *content = new QWidget(this);
    auto *listArea = new QGridLayout;
    listArea->addWidget(m_list, 0, 0);
    listArea->addWidget(m_table, 0, 0);
    listArea->addWidget(m_noResults, 0, 0, Qt::AlignCenter);
    listArea->addWidget(m_welcome, 0, 0, Qt::AlignCenter);
    listArea->addWidget(m_emptyListing, 0, 0, Qt::AlignCenter);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_status->failureBar());
    column->addWidget(m_status->comparisonBar());
    column->addLayout(listArea, 1);
    // The sidebar and the details beside the list, which takes what they
    // leave, and which they give room to first as the window narrows.
    auto *panes = new PaneSplitter(this);
    panes->setObjectName(QStringLiteral("panes"));
    panes->addWidget(m_sidebar);
    panes->addWidget(content);
    panes->addWidget(m_details);
    panes->setCentralPane(content);
    panes->setSizes({m_sidebar->sizeHint().width(), 1000, m_details->sizeHint().width()});
    // The controls span the window above the panes, whichever are shown.
    auto *window = new QWidget(this);
    auto *rows = new QVBoxLayout(window);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(m_controls);
    rows->addWidget(panes, 1);
    setCentralWidget(window);
    m_sidebar->setVisible((*m_actions)[Command::ShowSidebar]->isChecked());
    m_details->setVisible((*m_actions)[Command::ShowDetails]->isChecked());
    m_scope->setProblemsOnly((*m_actions)[Command::ProblemsOnly]->isChecked());
    m_sidebar->setProblemsOnly((*m_actions)[Command::ProblemsOnly]->isChecked());
    m_catalogue->setCopies((*m_actions)[Command::ShowAllCopies]->isChecked()
                               ? ListingJob::Copies::All
                               : ListingJob::Copies::InUse);
    showAsTable((*m_actions)[Command::AsTable]->isChecked());
    m_table->showColumnWith(AppexColumns::Path, (*m_actions)[Command::ShowPaths]);
    m_table->showColumnWith(AppexColumns::Uuid, (*m_actions)[Command::ShowUUID]);

    // The keyboard goes through the window as the eye does: top to bottom.
    QWidget *previous = m_search;
    for (QWidget *next : m_controls->focusChain() + m_status->failureBar()->buttons() +
                             m_status->comparisonBar()->buttons() +
                             QList<QWidget *>{m_list, m_table, m_details, m_sidebar})
        setTabOrder(std::exchange(previous, next), next);
}

void ContentView::connectCommands()
{
    const auto on = [this](Command command, auto slot) {
        connect((*m_actions)[command], &QAction::triggered, this, slot);
    };
    on(Command::GetAppexes, [this] { m_catalogue->getAppexes(); });
    on(Command::OpenListing, [this] { m_files->openListing(); });
    on(Command::SaveListing, [this] { m_files->saveListing(); });
    on(Command::CompareWithListing, [this] { m_files->compareWithListing(); });
    on(Command::ClearComparison, [this] { m_appexer->clearComparison(); });
    on(Command::SaveAsRTF, [this] { m_files->saveAsRTF(); });
    on(Command::CloseWindow, &QWidget::close);
    on(Command::Copy, [this] { copySelected(&Appex::copyText); });
    on(Command::CopyUuid, [this] { copySelected(&Appex::uuid); });
    on(Command::CopyPath, [this] { copySelected(&Appex::path); });
    on(Command::CopyIdentifier, [this] { copySelected(&Appex::identifier); });
    on(Command::SelectAll, [this] { shownView()->selectAll(); });
    on(Command::Find, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    on(Command::ShowInFileManager, [this] {
        if (const std::optional<Appex> record = RecordRows::current(*shownView()))
            m_status->showNote(FileManager::showFolderOf(record->path()));
    });
    on(Command::Enable, [this] { elect(Election::Choice::Use); });
    on(Command::Disable, [this] { elect(Election::Choice::Ignore); });
    on(Command::ResetElection, [this] { elect(Election::Choice::Default); });
    on(Command::EnableCopy, [this] { elect(Election::Choice::Use, Election::Target::Copy); });
    on(Command::DisableCopy, [this] { elect(Election::Choice::Ignore, Election::Target::Copy); });
    connect((*m_actions)[Command::ShowAllCopies], &QAction::toggled, this,
            &ContentView::showAllCopies);
    on(Command::RegisterExtension, [this] { m_registrations->registerExtension(); });
    on(Command::UnregisterCopy, [this] {
        if (const std::optional<Appex> record = RecordRows::current(*shownView()))
            m_registrations->unregisterCopy(*record);
    });
    on(Command::CleanUpStaleCopies, [this] { m_registrations->cleanUp(m_appexer->appexList()); });
    connect(m_registrations, &RegistrationCommands::note, m_status, &StatusArea::showNote);
    connect(m_registrations, &RegistrationCommands::allCopiesWanted, this,
            &ContentView::listAllCopiesToCleanUp);
    connect(m_actions->commandMenu(), &QMenu::aboutToShow, this, &ContentView::fillCommandMenu);
    connect(m_actions->historyMenu(), &QMenu::aboutToShow, this, &ContentView::fillHistoryMenu);
    on(Command::CompareWithPrevious, &ContentView::compareWithPrevious);
    on(Command::ClearHistory, &ContentView::clearHistory);
    connect((*m_actions)[Command::KeepHistory], &QAction::toggled, this, &ContentView::keepHistory);
    m_catalogue->setTellsChangesSince(true);
    keepHistory((*m_actions)[Command::KeepHistory]->isChecked());
    connect(m_catalogue, &CatalogueController::warning, m_status, &StatusArea::showNote);
    // Esc stops the job that runs; else it clears the search, wherever the focus.
    on(Command::Escape,
       [this] { m_catalogue->isBusy() ? m_catalogue->cancel() : m_search->clear(); });
    for (const Command toggle : {Command::ShowPaths, Command::ShowUUID})
        connect((*m_actions)[toggle], &QAction::toggled, this, &ContentView::scheduleUpdate);
    connect((*m_actions)[Command::ChangesOnly], &QAction::toggled, m_filter,
            &AppexFilter::setChangesOnly);
    connect((*m_actions)[Command::ProblemsOnly], &QAction::toggled, m_scope,
            &AppexScope::setProblemsOnly);
    connect((*m_actions)[Command::ProblemsOnly], &QAction::toggled, m_sidebar,
            &CategorySidebar::setProblemsOnly);
    connect((*m_actions)[Command::AsTable], &QAction::toggled, this, &ContentView::showAsTable);
    connect((*m_actions)[Command::ShowSidebar], &QAction::toggled, m_sidebar, &QWidget::setVisible);
    on(Command::FocusSidebar, [this] {
        (*m_actions)[Command::ShowSidebar]->setChecked(true);
        m_sidebar->setFocus(Qt::ShortcutFocusReason);
    });
    connect((*m_actions)[Command::ShowDetails], &QAction::toggled, this, [this](bool shown) {
        m_details->setVisible(shown);
        showDetails();
    });
    connect(m_sidebar, &CategorySidebar::scopeChosen, this, &ContentView::chooseScope);
    connect(m_details, &DetailsPane::noted, m_status, &StatusArea::showNote);
    connect(m_details, &DetailsPane::useCopyRequested, this, [this](const Appex &copy) {
        m_elections->elect(copy, Election::Choice::Use, Election::Target::Copy);
    });
    connect(m_details, &DetailsPane::allCopiesRequested, this, [this] {
        const std::optional<Appex> chosen = RecordRows::current(*shownView());
        const bool wasBusy = m_catalogue->isBusy();
        (*m_actions)[Command::ShowAllCopies]->setChecked(true);
        showAllCopies(true); // lists again even when it was on already
        // Chosen again in the listing this starts, not after a job already running.
        if (chosen && !wasBusy && m_catalogue->isBusy())
            m_elections->chooseAfterJob(*chosen);
    });
    // A new listing, or problems found in one: counted again, and a
    // column's order made again of the records now.
    connect(m_appexer, &QAbstractItemModel::modelReset, this, &ContentView::recordsChanged);
    connect(m_appexer, &QAbstractItemModel::dataChanged, this, &ContentView::recordsChanged);
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_list), static_cast<QAbstractItemView *>(m_table)})
        connect(view, &QAbstractItemView::activated, this, &ContentView::openDetails);

    // The sort entries and the table's headers choose one order between them.
    connect(m_controls, &ControlRow::sortCodePicked, this, &ContentView::sortBy);
    connect(m_columns, &AppexColumns::orderRequested, this,
            [this](int column, Qt::SortOrder order) {
                m_columnOrder = {column, order};
                orderByColumn();
                keepChoiceInSight();
                scheduleUpdate();
            });
    connect(m_search, &SearchField::searchChanged, this, [this] {
        keepChoiceInSight();
        scheduleUpdate();
    });
    connect(m_search, &SearchField::scopeChanged, this,
            [this] { m_filter->prepareIndex(*m_appexer); });
    connect(m_noResults, &NoResultsPanel::searchAllFieldsRequested,
            m_search->allFieldsScopeAction(), &QAction::trigger);

    m_status->follow(m_catalogue);
    connect(m_catalogue, &CatalogueController::stateChanged, this, &ContentView::updateActions);
    connect(m_catalogue, &CatalogueController::finished, this, &ContentView::jobFinished);
    connect(m_scope, &QAbstractItemModel::modelReset, this, &ContentView::scheduleUpdate);
    connect(m_scope, &QAbstractItemModel::dataChanged, this, &ContentView::scheduleUpdate);
    connect(m_scope, &QAbstractItemModel::layoutChanged, this, &ContentView::scheduleUpdate);
    connect(m_scope, &QAbstractItemModel::rowsInserted, this, &ContentView::scheduleUpdate);
    connect(m_scope, &QAbstractItemModel::rowsRemoved, this, &ContentView::scheduleUpdate);
    for (const QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_list), static_cast<QAbstractItemView *>(m_table)}) {
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &ContentView::updateActions);
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &ContentView::updateActions);
    }
}

QMenu *ContentView::fileMenu() const
{
    return m_actions->fileMenu();
}

void ContentView::openListing(const QString &file)
{
    m_files->openListing(file);
}

// The code first: a column's order gives way to it in one sort, whose ties
// keep the column's order.
void ContentView::sortBy(SortCode code)
{
    m_sortCodeShown = true;
    m_columnOrder.reset();
    m_appexer->sortAppexList(code);
    m_appexer->setRankOrder(std::nullopt);
    keepChoiceInSight();
    scheduleUpdate();
}

void ContentView::orderByColumn()
{
    if (m_columnOrder)
        m_appexer->setRankOrder(Appexer::RankOrder{
            m_columnRanks.of(m_columnOrder->first, *m_appexer), m_columnOrder->second});
}

void ContentView::recordsChanged()
{
    m_sidebar->setRecords(m_appexer->appexList());
    m_columnRanks.clear();
    orderByColumn();
    // What the sorts, categories and searches picked next need, made while
    // the rows are looked at.
    m_appexer->prepareOrders();
    m_filter->prepareIndex(*m_appexer);
}

void ContentView::closeEvent(QCloseEvent *event)
{
    Settings::storeWindowGeometry(saveGeometry());
    QMainWindow::closeEvent(event);
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    if (WindowRules::droppedFile(event->mimeData()->urls()).isEmpty())
        return;
    event->acceptProposedAction();
    m_list->setDropHighlighted(true);
}

void ContentView::dragLeaveEvent(QDragLeaveEvent *)
{
    m_list->setDropHighlighted(false);
}

void ContentView::dropEvent(QDropEvent *event)
{
    m_list->setDropHighlighted(false);
    if (const QString file = WindowRules::droppedFile(event->mimeData()->urls()); !file.isEmpty()) {
        openListing(file);
        event->acceptProposedAction();
    }
}

QAbstractItemView *ContentView::shownView() const
{
    if (m_table->isVisibleTo(this))
        return m_table;
    return m_list;
}

void ContentView::showAsTable(bool asTable)
{
    // The record with the focus keeps it across the switch.
    QAbstractItemView *from = shownView();
    QAbstractItemView *to = asTable ? static_cast<QAbstractItemView *>(m_table) : m_list;
    const int row = from->currentIndex().row();
    // Hidden, the view with the focus would leave the keyboard nowhere.
    const bool focused = from->hasFocus();
    to->show();
    if (from != to)
        from->hide();
    if (from != to && row >= 0)
        to->setCurrentIndex(to->model()->index(row, 0));
    if (focused)
        to->setFocus(Qt::OtherFocusReason);
    updateActions();
}

void ContentView::copySelected(const std::function<QString(const Appex &)> &text) const
{
    QGuiApplication::clipboard()->setText(RecordRows::selectedText(*shownView(), text));
}

// After a sort or a search the list shows the chosen record where it went,
// or, with none chosen among the rows, their start: not some stretch of rows
// that happened to lie where the view was scrolled.
void ContentView::keepChoiceInSight()
{
    QAbstractItemView *view = shownView();
    if (view->currentIndex().isValid())
        view->scrollTo(view->currentIndex());
    else
        view->scrollToTop();
}

void ContentView::chooseScope(const QString &category, bool problems)
{
    m_scope->setCategory(category);
    // One scope at a time, as the sidebar shows it: a category lists all of its records.
    (*m_actions)[Command::ProblemsOnly]->setChecked(problems);
    // Another scope is another list: it is read from its start.
    shownView()->scrollToTop();
}

void ContentView::showDetails()
{
    if (!m_details->isVisible())
        return;
    const std::optional<Appex> record = RecordRows::current(*shownView());
    m_details->showRecord(record ? &*record : nullptr, RecordRows::currentChange(*shownView()),
                          RecordRows::currentOlder(*shownView()),
                          record ? RecordFacts::copiesOf(m_appexer->appexList(), *record)
                                 : AppexList(),
                          {!m_appexer->listingFile().isEmpty(), m_catalogue->isBusy()});
}

// The details of the row that the user opened, with a double click or Enter.
void ContentView::openDetails()
{
    (*m_actions)[Command::ShowDetails]->setChecked(true);
    showDetails();
    m_details->setFocus(Qt::OtherFocusReason);
}

// The tool's listing shown is listed again with the copies asked for.
void ContentView::showAllCopies(bool allCopies)
{
    m_catalogue->setCopies(allCopies ? ListingJob::Copies::All : ListingJob::Copies::InUse);
    if (m_appexer->listingFile().isEmpty() && m_toolListed && !m_catalogue->isBusy())
        m_catalogue->getAppexes();
}

void ContentView::elect(Election::Choice choice, Election::Target kind)
{
    if (const std::optional<Appex> chosen = RecordRows::current(*shownView()))
        m_elections->elect(*chosen, choice, kind);
}

// Every copy listed, then the stale ones offered; nothing more if the
// listing fails, which says why.
void ContentView::listAllCopiesToCleanUp()
{
    QAction *allCopies = (*m_actions)[Command::ShowAllCopies];
    allCopies->setChecked(true); // lists again, when the tool's listing shows
    if (!m_catalogue->isBusy())
        m_catalogue->getAppexes();
    connect(
        m_catalogue, &CatalogueController::finished, this,
        [this](const CatalogueController::Outcome &outcome) {
            if (!outcome.failure)
                m_registrations->cleanUp(m_appexer->appexList());
        },
        Qt::SingleShotConnection);
}

// The tool's command behind each election or registration of the current
// record, to copy.
void ContentView::fillCommandMenu()
{
    QMenu *menu = m_actions->commandMenu();
    menu->clear();
    const QAbstractItemView *view = shownView();
    const std::optional<Appex> record = RecordRows::current(*view);
    const QList<WindowRules::ToolCommand> commands =
        record ? WindowRules::toolCommands(
                     *record, WindowRules::commandsFor(&*record, RecordRows::currentChange(*view),
                                                       !m_appexer->listingFile().isEmpty(), false))
               : QList<WindowRules::ToolCommand>();
    for (const WindowRules::ToolCommand &command : commands) {
        // After a tab, as a shortcut shows: the command beside the name.
        QAction *copy =
            menu->addAction(QString(command.name).replace(u'&', QStringLiteral("&&")) + u'\t' +
                            QString(command.line).replace(u'&', QStringLiteral("&&")));
        connect(copy, &QAction::triggered, this, [this, line = command.line] {
            QGuiApplication::clipboard()->setText(line);
            m_status->showNote(tr("Copied: %1").arg(line));
        });
    }
    if (commands.isEmpty())
        menu->addAction(tr("No command acts on this record"))->setEnabled(false);
}

void ContentView::keepHistory(bool keep)
{
    m_catalogue->setHistory(keep ? std::optional(m_history) : std::nullopt);
}

// The kept listings, newest first, each to open or compare with; then the
// history's own commands.
void ContentView::fillHistoryMenu()
{
    QMenu *menu = m_actions->historyMenu();
    qDeleteAll(menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly)); // clear() leaves them
    menu->clear();
    const ListingHistory::Entries kept = m_history.entries();
    for (auto entry = kept.entries.crbegin(); entry != kept.entries.crend(); ++entry) {
        QMenu *listing = menu->addMenu(WindowRules::historyEntryText(
            std::distance(kept.entries.crbegin(), entry), entry->time, entry->records));
        connect(listing->addAction(tr("&Open")), &QAction::triggered, this,
                [this, file = entry->file] { openListing(file); });
        connect(listing->addAction(tr("&Compare with This")), &QAction::triggered, this,
                [this, kept = *entry] { compareWithKept(kept); });
    }
    if (kept.entries.isEmpty())
        menu->addAction(tr("No listing kept yet"))->setEnabled(false);
    if (!kept.notes.isEmpty()) {
        QAction *skipped = menu->addAction(tr("Files passed over: %1").arg(kept.notes.size()));
        skipped->setToolTip(kept.notes.join(u'\n'));
        skipped->setEnabled(false);
    }
    menu->addSeparator();
    menu->addActions({(*m_actions)[Command::KeepHistory], (*m_actions)[Command::ClearHistory]});
}

// The listing kept before the one shown, when that is kept, whatever another
// window or program kept since; else the newest kept.
void ContentView::compareWithPrevious()
{
    const std::optional<ListingHistory::Entry> previous =
        m_history.entryBefore(m_catalogue->keptFileShown());
    if (!previous) {
        m_status->showNote(tr("No earlier listing is kept yet."));
        return;
    }
    compareWithKept(*previous);
}

void ContentView::compareWithKept(const ListingHistory::Entry &entry)
{
    if (m_catalogue->isBusy()) // its end would be taken for the comparison's
        return;
    m_catalogue->compareWithListing(entry.file);
    connect(
        m_catalogue, &CatalogueController::finished, this,
        [this, time = entry.time](const CatalogueController::Outcome &outcome) {
            if (!outcome.failure)
                m_status->showNote(
                    ListingHistory::changesSince(time, m_appexer->changeCount(AppexChange::Added),
                                                 m_appexer->changeCount(AppexChange::Changed),
                                                 m_appexer->changeCount(AppexChange::Removed)));
        },
        Qt::SingleShotConnection);
}

void ContentView::clearHistory()
{
    const qsizetype count = m_history.entries().entries.size();
    if (count == 0) {
        m_status->showNote(tr("No listing is kept."));
        return;
    }
    if (!m_services.confirm(tr("Delete the kept listings (%1)?").arg(QLocale().toString(count)),
                            tr("They are in %1. Deleted, they cannot be compared with again.")
                                .arg(QDir::toNativeSeparators(m_history.folder())),
                            tr("Delete")))
        return;
    const QStringList left = m_history.clear();
    m_status->showNote(left.isEmpty() ? tr("History cleared.") : left.join(u' '));
}

void ContentView::jobFinished(const CatalogueController::Outcome &outcome)
{
    m_status->showOutcome(outcome);
    m_emptyListing->follow(outcome, *m_appexer);
    // The record elected stays chosen, in the listing that shows what became of it.
    if (const std::optional<Appex> chosen = m_elections->takeToChoose())
        RecordRows::choose(*shownView(), *chosen);
    const bool listed = !m_appexer->listing().isEmpty() || !m_appexer->appexList().isEmpty();
    m_listed = m_listed || listed;
    m_toolListed = m_toolListed || (listed && m_appexer->listingFile().isEmpty());
    setWindowTitle(WindowRules::title(m_appexer->listingFile(), m_toolListed, m_startDate));
    scheduleUpdate();
}

// A filter or a listing can change the list many times in one go: the window
// follows once, when they are done.
void ContentView::scheduleUpdate()
{
    if (std::exchange(m_updatePending, true))
        return;
    QMetaObject::invokeMethod(this, &ContentView::catalogueChanged, Qt::QueuedConnection);
}

// Whatever changed in the list (a new listing, another order, another search
// or display), the parts of the window that tell of it follow.
void ContentView::catalogueChanged()
{
    m_updatePending = false;
    const bool comparing = m_appexer->isComparing();
    const AppexList &records = m_appexer->appexList();
    const bool searching = m_filter->isSearching();
    const int matches = m_scope->rowCount();
    const int rows = m_appexer->rowCount(); // with the removed ones, while comparing
    m_controls->setCount(searching || matches != rows ? WindowRules::shownCountText(matches, rows)
                                                      : WindowRules::countText(records.size()));
    m_status->showCounts(std::count_if(records.begin(), records.end(),
                                       [](const Appex &record) { return bool(record.problems()); }),
                         searching ? std::optional<qsizetype>(matches) : std::nullopt);
    m_list->setDisplay({(*m_actions)[Command::ShowPaths]->isChecked(),
                        (*m_actions)[Command::ShowUUID]->isChecked(), m_filter->isSearching(),
                        comparing});
    m_table->showChanges(comparing);
    if (comparing) {
        m_status->showComparison(m_appexer->baselineFile(),
                                 m_appexer->changeCount(AppexChange::Added),
                                 m_appexer->changeCount(AppexChange::Changed),
                                 m_appexer->changeCount(AppexChange::Removed));
    } else {
        m_status->hideComparison();
        (*m_actions)[Command::ChangesOnly]->setChecked(false);
    }
    // The sort entries and the table's headers tell the order.
    if (m_columnOrder) {
        m_controls->setSortCode(std::nullopt);
        m_table->showSortColumn(m_columnOrder->first, m_columnOrder->second);
    } else {
        const std::optional<SortCode> shown =
            m_sortCodeShown ? std::optional(m_appexer->sortCode()) : std::nullopt;
        m_controls->setSortCode(shown);
        m_table->showSortColumn(shown ? AppexColumns::columnOf(*shown) : std::nullopt,
                                Qt::AscendingOrder);
    }
    m_noResults->setQuery(m_filter->query(), m_search->scope() == AppexSearch::Scope::Uuid);
    m_noResults->setVisible(searching && matches == 0);
    const bool saysWhyEmpty = !m_emptyListing->reason().isEmpty();
    m_emptyListing->setVisible(saysWhyEmpty && !searching);
    m_welcome->setVisible(!m_listed && !searching && !saysWhyEmpty);
    updateActions();
}

void ContentView::updateActions()
{
    const QAbstractItemView *view = shownView();
    const std::optional<Appex> current = RecordRows::current(*view);
    const Appex *record = current ? &*current : nullptr;
    const bool busy = m_catalogue->isBusy();
    m_actions->update({busy, m_appexer->isComparing(), view->selectionModel()->hasSelection(),
                       !m_appexer->listing().isEmpty(), !m_appexer->appexList().isEmpty(), record,
                       WindowRules::commandsFor(record, RecordRows::currentChange(*view),
                                                !m_appexer->listingFile().isEmpty(), busy),
                       !m_appexer->listingFile().isEmpty()});
    showDetails();
}
