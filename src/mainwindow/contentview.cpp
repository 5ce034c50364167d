#include "contentview.h"

#include "appexfilter.h"
#include "datestamp.h"
#include "filedialogopenpanel.h"
#include "filedialogsavepanel.h"
#include "jobstatus.h"
#include "magnifyingglass.h"
#include "messagebar.h"
#include "messageboxalert.h"
#include "messagerowdelegate.h"
#include "noresultspanel.h"
#include "reportsaver.h"
#include "settings.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The sort entries' texts, in code order, with their mnemonics.
const QStringList sortEntries = {QStringLiteral("SD&K"), QStringLiteral("P&arent"),
                                 QStringLiteral("UU&ID"), QStringLiteral("&Name")};

bool askByMessageBox(QWidget *window, const QString &question, const QString &detail)
{
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Cancel, window);
    box.setTextFormat(Qt::PlainText); // a name is no markup
    box.setInformativeText(detail);
    box.setDefaultButton(box.addButton(QObject::tr("Disable"), QMessageBox::AcceptRole));
    return box.exec() == 0; // the first button added: "Disable"
}

QString plainText(const QString &withMnemonic)
{
    return QString(withMnemonic).remove(u'&');
}

} // namespace

ContentView::ContentView(QWidget *parent)
    : ContentView(Services{}, parent)
{}

ContentView::ContentView(Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_appexer(new Appexer(this))
    , m_catalogue(new CatalogueController(
          m_appexer, new ListingLoader(services.toolPath, services.limits, this), this))
    , m_filter(new AppexFilter(m_appexer, this))
    , m_services(std::move(services))
{
    if (!m_services.reportPanel)
        m_services.reportPanel = std::make_unique<FileDialogSavePanel>(
            this, FileDialogSavePanel::FileType{tr("Rich Text Format (*.rtf)"), ".rtf"});
    if (!m_services.listingPanel)
        m_services.listingPanel = std::make_unique<FileDialogSavePanel>(
            this, FileDialogSavePanel::FileType{tr("Listings (*.txt)"), ".txt"});
    if (!m_services.openPanel)
        m_services.openPanel = std::make_unique<FileDialogOpenPanel>(this);
    if (!m_services.errorAlert)
        m_services.errorAlert = std::make_unique<MessageBoxAlert>(this);
    if (!m_services.confirm)
        m_services.confirm = [this](const QString &question, const QString &detail) {
            return askByMessageBox(this, question, detail);
        };

    const Settings::Values settings = Settings::read();
    m_showPaths = settings.showPaths;
    m_showUUID = settings.showUUID;
    m_sortCode = settings.sortCode;

    setWindowTitle(QStringLiteral("Zephlist"));
    setAcceptDrops(true);
    buildActions();
    buildList();
    buildSearch();
    auto *content = new QWidget(this);
    content->setMinimumSize(800, 200);
    auto *listArea = new QGridLayout;
    listArea->addWidget(m_list, 0, 0);
    listArea->addWidget(m_noResults, 0, 0, Qt::AlignCenter); // centred over the list
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(buildControls(), 0, Qt::AlignHCenter);
    column->addWidget(m_failureBar);
    column->addWidget(m_comparisonBar);
    column->addLayout(listArea, 1); // the list takes the room the bars leave
    setCentralWidget(content);
    buildMenus();
    buildStatusBar();
    setSearchScope(settings.searchScope);

    connect(m_catalogue, &CatalogueController::busyChanged, this, &ContentView::showBusy);
    connect(m_catalogue, &CatalogueController::jobFinished, this, &ContentView::jobFinished);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &ContentView::scheduleUpdate);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &ContentView::scheduleUpdate);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &ContentView::scheduleUpdate);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &ContentView::scheduleUpdate);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ContentView::updateActions);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ContentView::updateActions);
    catalogueChanged();
    placeWindow();
}

ContentView::~ContentView() = default;

void ContentView::buildActions()
{
    const auto action = [this](const QString &text, const QString &tip, const QKeySequence &keys,
                               auto slot) {
        auto *made = new QAction(text, this);
        made->setToolTip(tip);
        made->setShortcut(keys);
        connect(made, &QAction::triggered, this, slot);
        return made;
    };
    const auto toggle = [this](const QString &text, const QString &tip, bool on) {
        auto *made = new QAction(text, this);
        made->setToolTip(tip);
        made->setCheckable(true);
        made->setChecked(on);
        return made;
    };

    m_getAppexesAction =
        action(QStringLiteral("&Get Appexes"), tr("List the app extensions that macOS registers"),
               QKeySequence(Qt::CTRL | Qt::Key_R), &ContentView::getAppexes);
    m_openAction = action(tr("&Open Listing\u2026"), tr("Show a listing captured earlier"),
                          QKeySequence::Open, [this] {
                              chooseListing(tr("Open Listing"),
                                            [this](const QString &file) { openListing(file); });
                          });
    m_saveListingAction =
        action(tr("Save &Listing\u2026"), tr("Save the listing shown, exactly as it was read"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &ContentView::saveListing);
    m_compareAction =
        action(tr("Co&mpare with Listing\u2026"),
               tr("Mark what changed since a listing captured earlier"), QKeySequence(), [this] {
                   chooseListing(tr("Compare with Listing"), [this](const QString &file) {
                       readListing(file, [this](const QString &older) {
                           m_catalogue->compareWithListing(older);
                       });
                   });
               });
    m_clearComparisonAction = action(tr("C&lear Comparison"), tr("Stop comparing"), QKeySequence(),
                                     [this] { m_appexer->clearComparison(); });
    m_changesOnlyAction =
        toggle(tr("Show &Changes Only"), tr("List only the records that differ"), false);
    connect(m_changesOnlyAction, &QAction::toggled, m_filter, &AppexFilter::setChangesOnly);
    m_saveAsRTFAction =
        action(QStringLiteral("&Save as RTF\u2026"), tr("Save the whole list as a coloured report"),
               QKeySequence::Save, &ContentView::saveAsRTF);

    m_copyAction = action(tr("&Copy"), tr("Copy the selected records as tab-separated text"),
                          QKeySequence::Copy,
                          [this] { QGuiApplication::clipboard()->setText(selectedCopyText()); });
    m_copyUuidAction = action(tr("Copy &UUID"), tr("Copy the selected records' UUIDs"),
                              QKeySequence(), [this] { copyField(AppexField::Uuid); });
    m_copyPathAction = action(tr("Copy &Path"), tr("Copy the selected records' bundle paths"),
                              QKeySequence(), [this] { copyField(AppexField::Path); });
    m_copyIdentifierAction =
        action(tr("Copy &Identifier"), tr("Copy the selected records' identifiers"), QKeySequence(),
               [this] { copyField(AppexField::Identifier); });
    m_selectAllAction = action(tr("Select &All"), tr("Select every record in the list"),
                               QKeySequence::SelectAll, [this] { m_list->selectAll(); });
    m_findAction = action(tr("&Find"), tr("Search the list"), QKeySequence::Find, [this] {
        m_searchField->setFocus(Qt::ShortcutFocusReason);
        m_searchField->selectAll();
    });

    m_showPathsAction = toggle(QStringLiteral("Show &Paths"),
                               tr("Show each extension's path and its parent's"), m_showPaths);
    m_showUUIDAction =
        toggle(QStringLiteral("Show &UUID"), tr("Show each extension's UUID"), m_showUUID);
    connect(m_showPathsAction, &QAction::toggled, this, [this](bool on) {
        m_showPaths = on;
        scheduleUpdate();
        Settings::storeShowPaths(on);
    });
    connect(m_showUUIDAction, &QAction::toggled, this, [this](bool on) {
        m_showUUID = on;
        scheduleUpdate();
        Settings::storeShowUUID(on);
    });

    m_showInFileManagerAction =
        action(tr("Show in &File Manager"), tr("Open the folder that holds the extension"),
               QKeySequence(), &ContentView::showInFileManager);
    m_enableAction = action(tr("&Enable"), tr("Use this extension"), QKeySequence(),
                            [this] { elect(CatalogueController::ElectionChoice::Use); });
    m_disableAction = action(tr("&Disable\u2026"), tr("Ignore this extension"), QKeySequence(),
                             [this] { elect(CatalogueController::ElectionChoice::Ignore); });
    m_resetElectionAction =
        action(tr("&Reset to Default"), tr("Let the system decide whether to use it"),
               QKeySequence(), [this] { elect(CatalogueController::ElectionChoice::Default); });

    auto *scopes = new QActionGroup(this);
    m_uuidScopeAction = toggle(tr("UUID"), tr("Search the UUIDs"), true);
    m_allFieldsScopeAction = toggle(tr("All Fields"), tr("Search every field"), false);
    for (QAction *scope : {m_uuidScopeAction, m_allFieldsScopeAction}) {
        scopes->addAction(scope);
        connect(scope, &QAction::triggered, this, [this, scope] {
            const AppexSearch::Scope chosen = scope == m_uuidScopeAction
                                                  ? AppexSearch::Scope::Uuid
                                                  : AppexSearch::Scope::AllFields;
            setSearchScope(chosen);
            Settings::storeSearchScope(chosen);
        });
    }

    // Esc stops the tool from anywhere in the window; else, in the search
    // field, it clears the search.
    auto *escape = action(QString(), QString(), QKeySequence(Qt::Key_Escape), &ContentView::escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    addAction(escape);
}

void ContentView::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->addActions({m_getAppexesAction, m_openAction, m_saveListingAction});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({m_compareAction, m_clearComparisonAction});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_saveAsRTFAction);
    m_fileMenu->addSeparator();
    QAction *close = m_fileMenu->addAction(tr("&Close Window"), this, &QWidget::close);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({m_copyAction, m_copyUuidAction, m_copyPathAction, m_copyIdentifierAction});
    edit->addSeparator();
    edit->addActions({m_selectAllAction, m_findAction});

    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->addActions({m_showPathsAction, m_showUUIDAction, m_changesOnlyAction});
    view->addSeparator();
    QMenu *searchIn = view->addMenu(tr("&Search In"));
    searchIn->addActions({m_uuidScopeAction, m_allFieldsScopeAction});

    QMenu *extension = menuBar()->addMenu(tr("E&xtension"));
    extension->addAction(m_showInFileManagerAction);
    extension->addSeparator();
    extension->addActions({m_enableAction, m_disableAction, m_resetElectionAction});
}

QWidget *ContentView::buildControls()
{
    auto *controls = new QWidget(this);
    controls->setFixedHeight(32);
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(8, 0, 8, 0);

    row->addWidget(new QLabel(QStringLiteral("Sort By:"), controls));
    m_sortGroup = new QButtonGroup(this);
    for (int code = 0; code < sortEntries.size(); ++code) {
        auto *entry = new QRadioButton(sortEntries[code], controls);
        entry->setObjectName(QStringLiteral("sortBy") + plainText(sortEntries[code]));
        entry->setToolTip(tr("Sort the list by %1").arg(plainText(sortEntries[code])));
        entry->setChecked(code == m_sortCode); // none for a stored code outside 0 to 3
        m_sortGroup->addButton(entry, code);
        row->addWidget(entry);
    }
    connect(m_sortGroup, &QButtonGroup::idClicked, this, &ContentView::pickSortCode);
    row->addSpacing(12);

    const auto addButton = [&](QAction *action, const QString &name) {
        auto *button = new QPushButton(action->text().remove(u'\u2026'), controls);
        button->setObjectName(name);
        button->setToolTip(action->toolTip());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        row->addWidget(button);
    };
    const auto addToggle = [&](QAction *action, const QString &name) {
        auto *toggle = new QCheckBox(action->text(), controls);
        toggle->setObjectName(name);
        toggle->setToolTip(action->toolTip());
        toggle->setChecked(action->isChecked());
        connect(toggle, &QCheckBox::toggled, action, &QAction::setChecked);
        connect(action, &QAction::toggled, toggle, &QCheckBox::setChecked);
        row->addWidget(toggle);
    };

    addButton(m_getAppexesAction, QStringLiteral("getAppexes"));
    m_countLabel = new QLabel(controls);
    m_countLabel->setObjectName(QStringLiteral("count"));
    m_countLabel->setToolTip(tr("How many extensions the listing holds"));
    row->addWidget(m_countLabel);
    addToggle(m_showPathsAction, QStringLiteral("showPaths"));
    addToggle(m_showUUIDAction, QStringLiteral("showUUID"));
    addButton(m_saveAsRTFAction, QStringLiteral("saveAsRTF"));
    return controls;
}

void ContentView::buildList()
{
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("appexList"));
    m_list->setAccessibleName(tr("Appexes"));
    m_list->setModel(m_filter);
    m_delegate = new MessageRowDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true); // every row is one line: no per-row measuring
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->header()->setStretchLastSection(false);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto separator = [this] {
        auto *line = new QAction(this);
        line->setSeparator(true);
        return line;
    };
    m_list->addActions({m_copyAction, m_copyUuidAction, m_copyPathAction, m_copyIdentifierAction,
                        separator(), m_showInFileManagerAction, separator(), m_enableAction,
                        m_disableAction, m_resetElectionAction});
    QFont rowFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    rowFont.setPointSizeF(theFontSize);
    m_list->setFont(rowFont);
    m_list->viewport()->installEventFilter(this); // its width bounds the rows'

    m_noResults = new NoResultsPanel(this);
    m_noResults->hide();
    m_failureBar = new MessageBar(MessageBar::Kind::Error, this);
    m_comparisonBar = new MessageBar(MessageBar::Kind::Information, this);
    m_comparisonBar->setClosable(false);
    m_comparisonBar->addActionButton(m_changesOnlyAction);
    m_comparisonBar->addActionButton(m_clearComparisonAction);
}

void ContentView::buildSearch()
{
    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("search"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMaximumWidth(320);
    m_searchField->setToolTip(tr("Search the list; Esc clears it (Ctrl+F)"));
    auto *scopeMenu = new QMenu(m_searchField);
    scopeMenu->addSection(tr("Search In"));
    scopeMenu->addActions({m_uuidScopeAction, m_allFieldsScopeAction});
    QAction *scope = m_searchField->addAction(
        QIcon(magnifyingGlass(palette().color(QPalette::PlaceholderText), 16, devicePixelRatioF())),
        QLineEdit::LeadingPosition);

    scope->setToolTip(tr("Choose what the search looks at"));
    scope->setMenu(scopeMenu);
    connect(scope, &QAction::triggered, this, [this, scopeMenu] {
        scopeMenu->popup(m_searchField->mapToGlobal(m_searchField->rect().bottomLeft()));
    });
    connect(m_searchField, &QLineEdit::textChanged, m_filter, &AppexFilter::setQuery);
    connect(m_searchField, &QLineEdit::textChanged, this, &ContentView::scheduleUpdate);

    auto *toolbar = addToolBar(tr("Search"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setEnabled(false);
    auto *spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    toolbar->addWidget(m_searchField);
}

void ContentView::buildStatusBar()
{
    m_matchesLabel = new QLabel(this);
    m_matchesLabel->setObjectName(QStringLiteral("matches"));
    m_changesLabel = new QLabel(this);
    m_changesLabel->setObjectName(QStringLiteral("changes"));
    m_jobStatus = new JobStatus(this);
    connect(m_jobStatus, &JobStatus::stopRequested, m_catalogue, &CatalogueController::cancel);
    statusBar()->addPermanentWidget(m_matchesLabel);
    statusBar()->addPermanentWidget(m_changesLabel);
    statusBar()->addPermanentWidget(m_jobStatus);

    // The keyboard goes through the window as the eye does: top to bottom.
    QWidget *previous = m_searchField;
    for (QAbstractButton *button : m_sortGroup->buttons()) {
        setTabOrder(previous, button);
        previous = button;
    }
    QList<QWidget *> chain;
    for (const char *name : {"getAppexes", "showPaths", "showUUID", "saveAsRTF"})
        chain << findChild<QWidget *>(QLatin1String(name));
    chain << m_failureBar->buttons() << m_comparisonBar->buttons() << m_list;
    for (QWidget *next : chain) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void ContentView::placeWindow()
{
    if (restoreGeometry(Settings::windowGeometry()))
        return;
    // Comfortable on a laptop, and never larger than nine tenths of the screen.
    const QSize room = screen()->availableSize() * 0.9;
    resize(QSize(1000, 650).boundedTo(room).expandedTo(minimumSizeHint()));
    move(screen()->availableGeometry().center() - rect().center());
}

void ContentView::openListing(const QString &file)
{
    readListing(file,
                [this](const QString &listing) { m_catalogue->openListing(listing, m_sortCode); });
}

// A listing chosen while a job runs is read once it ends; one that is not a
// regular file, a FIFO say, is refused, as reading it could hold the window up.
void ContentView::readListing(const QString &file, const std::function<void(QString)> &read)
{
    if (m_catalogue->isBusy()) {
        m_pendingRead = [this, file, read] { readListing(file, read); };
        return;
    }
    if (!QFileInfo(file).isFile()) {
        m_failureBar->showMessage(
            tr("The listing \u201C%1\u201D could not be read: it is not a regular file.")
                .arg(file));
        return;
    }
    read(file);
}

QString ContentView::selectedCopyText() const
{
    QStringList lines;
    for (const QModelIndex &index : selectedRows())
        lines << m_appexer->recordAt(m_filter->mapToSource(index).row()).copyText();
    return lines.join(u'\n');
}

void ContentView::closeEvent(QCloseEvent *event)
{
    Settings::storeWindowGeometry(saveGeometry());
    QMainWindow::closeEvent(event);
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void ContentView::dropEvent(QDropEvent *event)
{
    openListing(event->mimeData()->urls().first().toLocalFile());
    event->acceptProposedAction();
}

bool ContentView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        m_list->header()->resizeSection(0, std::max(m_widestRow, m_list->viewport()->width()));
    return QMainWindow::eventFilter(watched, event);
}

void ContentView::getAppexes()
{
    m_catalogue->refresh(m_sortCode);
}

void ContentView::pickSortCode(int sortCode)
{
    if (sortCode == m_sortCode)
        return;
    m_sortCode = sortCode;
    // Also with nothing to sort: a listing read meanwhile is sorted so.
    m_appexer->sortAppexList(m_sortCode);
    Settings::storeSortCode(m_sortCode);
}

void ContentView::setSearchScope(AppexSearch::Scope scope)
{
    m_filter->setScope(scope);
    const bool uuid = scope == AppexSearch::Scope::Uuid;
    (uuid ? m_uuidScopeAction : m_allFieldsScopeAction)->setChecked(true);
    m_searchField->setPlaceholderText(uuid ? QStringLiteral("UUID") : tr("All Fields"));
    m_searchField->setAccessibleName(uuid ? tr("Search by UUID") : tr("Search all fields"));
    scheduleUpdate();
}

void ContentView::saveAsRTF()
{
    ReportSaver::saveAsRTF(*m_appexer, *m_services.reportPanel, *m_services.errorAlert);
}

void ContentView::saveListing()
{
    const QString proposed =
        m_appexer->listingFile().isEmpty()
            ? QStringLiteral("Zephlist listing %1.txt").arg(dateStamp(QDateTime::currentDateTime()))
            : QFileInfo(m_appexer->listingFile()).fileName();
    m_services.listingPanel->begin(
        proposed, [this, listing = m_appexer->listing()](SavePanel::Response response,
                                                         const QString &location) {
            ReportSaver::writeListing(response, location, listing, *m_services.errorAlert);
        });
}

void ContentView::chooseListing(const QString &title, const std::function<void(QString)> &use)
{
    m_services.openPanel->begin(title, [use](const QString &file) {
        if (!file.isEmpty())
            use(file);
    });
}

void ContentView::escape()
{
    if (m_catalogue->isBusy())
        m_catalogue->cancel();
    else if (m_searchField->hasFocus())
        m_searchField->clear();
}

void ContentView::copyField(AppexField field)
{
    QStringList values;
    for (const QModelIndex &index : selectedRows())
        values << m_appexer->recordAt(m_filter->mapToSource(index).row()).text(field);
    QGuiApplication::clipboard()->setText(values.join(u'\n'));
}

void ContentView::showInFileManager()
{
    const Appex *record = currentRecord();
    if (!record)
        return;
    const QString folder = QFileInfo(record->path()).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        statusBar()->showMessage(tr("\u201C%1\u201D is not on this computer.").arg(folder), 5000);
        return;
    }
#ifdef Q_OS_MACOS
    const bool shown = QProcess::startDetached(QStringLiteral("/usr/bin/open"),
                                               {QStringLiteral("-R"), record->path()});
#else
    const bool shown = QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
#endif
    if (!shown)
        statusBar()->showMessage(tr("No file manager could show \u201C%1\u201D.").arg(folder),
                                 5000);
}

void ContentView::elect(CatalogueController::ElectionChoice choice)
{
    const Appex *record = currentRecord();
    if (!record)
        return;
    // Copies: the question's own event loop may see the catalogue change.
    const QString identifier = record->identifier();
    const QString name = nameOf(*record);
    if (choice == CatalogueController::ElectionChoice::Ignore &&
        !m_services.confirm(tr("Disable \u201C%1\u201D?").arg(name),
                            tr("The extension %1 will no longer be used. This takes effect for "
                               "your user account until you enable it again.")
                                .arg(identifier)))
        return;
    m_catalogue->setElection(identifier, choice, m_sortCode);
}

void ContentView::showBusy()
{
    if (m_catalogue->isBusy())
        m_jobStatus->start(m_catalogue->busyText());
    else
        m_jobStatus->stop();
    updateActions();
}

void ContentView::jobFinished(bool succeeded)
{
    const QString file = m_appexer->listingFile();
    if (succeeded) {
        m_failureBar->hide();
        m_toolListed = m_toolListed || file.isEmpty();
        if (!file.isEmpty() && m_appexer->appexList().isEmpty())
            m_failureBar->showMessage(tr("\u201C%1\u201D holds no extensions. Is it a listing "
                                         "that \u201Cpluginkit -m -vv\u201D printed?")
                                          .arg(QFileInfo(file).fileName()));
    } else if (m_catalogue->wasCancelled()) {
        statusBar()->showMessage(m_catalogue->failureText(), 5000);
    } else {
        m_failureBar->showMessage(m_catalogue->failureText(), m_catalogue->failureDetail());
    }
    // The title tells where the list shown came from: a file, or the tool,
    // stamped with the window's start once the tool listed.
    setWindowTitle(!file.isEmpty() ? QStringLiteral("Zephlist \u2014 ") + QFileInfo(file).fileName()
                   : m_toolListed  ? QStringLiteral("Zephlist ") + dateStamp(m_theStartDate)
                                   : QStringLiteral("Zephlist"));
    updateActions();
    if (!m_catalogue->isBusy() && m_pendingRead)
        std::exchange(m_pendingRead, {})();
}

// A filter or a listing can change the list many times in one go: the window
// follows once, when they are done.
void ContentView::scheduleUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(this, &ContentView::catalogueChanged, Qt::QueuedConnection);
}

// Whatever changed in the list (a new listing, another order, another search
// or display), the parts of the window that tell of it follow.
void ContentView::catalogueChanged()
{
    m_updatePending = false;
    m_countLabel->setText(QStringLiteral("%1 appexes").arg(m_appexer->appexList().size()));
    m_delegate->setDisplay(
        {m_showPaths, m_showUUID, m_filter->isSearching(), m_appexer->isComparing()});
    if (m_appexer->isComparing()) {
        m_comparisonBar->showMessage(
            tr("Compared with \u201C%1\u201D: + added, ~ changed, \u2212 removed since.")
                .arg(QFileInfo(m_appexer->baselineFile()).fileName()));
        m_changesLabel->setText(tr("%1 added \u00b7 %2 changed \u00b7 %3 removed")
                                    .arg(m_appexer->changeCount(AppexChange::Added))
                                    .arg(m_appexer->changeCount(AppexChange::Changed))
                                    .arg(m_appexer->changeCount(AppexChange::Removed)));
    } else {
        m_comparisonBar->hide();
        m_changesOnlyAction->setChecked(false);
    }
    m_changesLabel->setVisible(m_appexer->isComparing());
    updateSearchState();
    updateRowWidth();
    updateActions();
    m_list->viewport()->update();
}

// Rows are drawn in a fixed-pitch font, so the rows with the most characters
// are the widest, but for a few wide characters: measuring those few finds
// the width that the list must scroll to, without measuring every row.
void ContentView::updateRowWidth()
{
    const MessageRowDelegate::Display display = m_delegate->display();
    constexpr size_t measured = 16;
    std::vector<std::pair<qsizetype, int>> longest; // characters, source row
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const int source = m_filter->mapToSource(m_filter->index(row, 0)).row();
        const qsizetype length = MessageRow::textLength(
            m_appexer->recordAt(source), display.showPaths, display.showUUID, display.isSearching);
        if (longest.size() < measured || length > longest.front().first) {
            if (longest.size() == measured) {
                std::pop_heap(longest.begin(), longest.end(), std::greater<>());
                longest.pop_back();
            }
            longest.emplace_back(length, source);
            std::push_heap(longest.begin(), longest.end(), std::greater<>());
        }
    }
    m_widestRow = 0;
    for (const auto &[length, source] : longest)
        m_widestRow = std::max(m_widestRow,
                               m_delegate->rowWidth(m_appexer->recordAt(source), m_list->font()));
    m_list->header()->resizeSection(0, std::max(m_widestRow, m_list->viewport()->width()));
}

void ContentView::updateActions()
{
    const bool busy = m_catalogue->isBusy();
    const bool comparing = m_appexer->isComparing();
    const bool selected = m_list->selectionModel()->hasSelection();
    m_getAppexesAction->setEnabled(!busy);
    m_saveListingAction->setEnabled(!m_appexer->listing().isEmpty());
    m_saveAsRTFAction->setEnabled(!m_appexer->appexList().isEmpty());
    m_clearComparisonAction->setEnabled(comparing && !busy);
    m_changesOnlyAction->setEnabled(comparing);
    for (QAction *copy : {m_copyAction, m_copyUuidAction, m_copyPathAction, m_copyIdentifierAction})
        copy->setEnabled(selected);

    // Elections act on the system's extensions: only those of its own listing.
    const Appex *record = currentRecord();
    const QModelIndex current = m_list->currentIndex();
    const bool live =
        record && m_appexer->listingFile().isEmpty() && !busy && !record->identifier().isEmpty() &&
        AppexChange(current.data(Appexer::ChangeRole).toInt()) != AppexChange::Removed;
    m_showInFileManagerAction->setEnabled(record && !record->path().isEmpty());
    // The election commands name the one extension they act on.
    const QString name = record ? QStringLiteral(" \u201C%1\u201D")
                                      .arg(nameOf(*record))
                                      .replace(QChar(u'&'), QStringLiteral("&&"))
                                : QString();
    m_enableAction->setText(tr("&Enable%1").arg(name));
    m_disableAction->setText(tr("&Disable%1\u2026").arg(name));
    m_resetElectionAction->setText(tr("&Reset%1 to Default").arg(name));
    m_enableAction->setEnabled(live && record->election() != AppexElection::Use);
    m_disableAction->setEnabled(live && record->election() != AppexElection::Ignore);
    m_resetElectionAction->setEnabled(live);
}

void ContentView::updateSearchState()
{
    const bool searching = m_filter->isSearching();
    const int matches = m_filter->rowCount();
    m_matchesLabel->setText(matches == 1 ? tr("1 match") : tr("%1 matches").arg(matches));
    m_matchesLabel->setVisible(searching);
    m_noResults->setQuery(m_filter->query());
    m_noResults->setVisible(searching && matches == 0);
}

QModelIndexList ContentView::selectedRows() const
{
    QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    return rows;
}

QString ContentView::nameOf(const Appex &record)
{
    const QString name = record.name().isEmpty() ? record.identifier() : record.name();
    return name.size() > 40 ? name.left(39) + u'\u2026' : name;
}

const Appex *ContentView::currentRecord() const
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return nullptr;
    return &m_appexer->recordAt(m_filter->mapToSource(current).row());
}
