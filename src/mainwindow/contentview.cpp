#include "contentview.h"

#include "appexlistmodel.h"
#include "datestamp.h"
#include "displaysettings.h"
#include "filedialogsavepanel.h"
#include "messageboxalert.h"
#include "messagerowdelegate.h"
#include "noresultspanel.h"
#include "reportsaver.h"
#include "uuidsearch.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QStringList sortEntries = {QStringLiteral("SDK"), QStringLiteral("Parent"),
                                 QStringLiteral("UUID"), QStringLiteral("Name")};

} // namespace

ContentView::ContentView(QWidget *parent)
    : ContentView(Services{}, parent)
{}

ContentView::ContentView(Services services, QWidget *parent)
    : QMainWindow(parent)
    , m_appexer(new Appexer(std::move(services.toolPath), ListingTool::defaultTimeout, this))
    , m_savePanel(services.savePanel ? std::move(services.savePanel)
                                     : std::make_unique<FileDialogSavePanel>(this))
    , m_errorAlert(services.errorAlert ? std::move(services.errorAlert)
                                       : std::make_unique<MessageBoxAlert>(this))
    , m_model(new AppexListModel(this))
{
    const DisplaySettings::Values settings = DisplaySettings::read();
    m_showPaths = settings.showPaths;
    m_showUUID = settings.showUUID;
    m_sortCode = settings.sortCode;

    setWindowTitle(QStringLiteral("Zephlist"));
    auto *content = new QWidget(this);
    content->setMinimumSize(800, 200);
    setCentralWidget(content);
    buildControls(content);
    buildMenus();

    m_model->setDisplay(m_showPaths, m_showUUID);
    // Many notices (one per record of a refresh) make one redraw.
    connect(m_appexer, &Appexer::appexListDidChange, this, &ContentView::scheduleRedraw);
}

ContentView::~ContentView() = default;

void ContentView::buildControls(QWidget *content)
{
    auto *controls = new QWidget(content);
    controls->setFixedHeight(32);
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(8, 0, 8, 0);

    row->addWidget(new QLabel(QStringLiteral("Sort By:"), controls));
    auto *sortGroup = new QButtonGroup(this);
    for (int code = 0; code < sortEntries.size(); ++code) {
        auto *entry = new QRadioButton(sortEntries[code], controls);
        entry->setObjectName(QStringLiteral("sortBy") + sortEntries[code]);
        entry->setAccessibleDescription(QStringLiteral("Sort by %1").arg(sortEntries[code]));
        entry->setChecked(code == m_sortCode); // none for a stored code outside 0 to 3
        sortGroup->addButton(entry, code);
        row->addWidget(entry);
    }
    connect(sortGroup, &QButtonGroup::idClicked, this, &ContentView::pickSortCode);
    row->addSpacing(12);

    const auto addButton = [&](const QString &text, const QString &name,
                               void (ContentView::*action)()) {
        auto *button = new QPushButton(text, controls);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, action);
        row->addWidget(button);
    };
    // A toggle changes every row at once and is stored straight away.
    const auto addToggle = [&](const QString &text, const QString &name, bool &shown,
                               void (*store)(bool)) {
        auto *toggle = new QCheckBox(text, controls);
        toggle->setObjectName(name);
        toggle->setChecked(shown);
        connect(toggle, &QCheckBox::toggled, this, [this, &shown, store](bool on) {
            shown = on;
            m_model->setDisplay(m_showPaths, m_showUUID);
            store(on);
        });
        row->addWidget(toggle);
    };

    addButton(QStringLiteral("Get Appexes"), QStringLiteral("getAppexes"),
              &ContentView::getAppexes);
    m_countLabel = new QLabel(QStringLiteral("0 appexes"), controls);
    m_countLabel->setObjectName(QStringLiteral("count"));
    m_countLabel->setAccessibleName(QStringLiteral("Number of appexes"));
    row->addWidget(m_countLabel);
    addToggle(QStringLiteral("Show Paths"), QStringLiteral("showPaths"), m_showPaths,
              &DisplaySettings::storeShowPaths);
    addToggle(QStringLiteral("Show UUID"), QStringLiteral("showUUID"), m_showUUID,
              &DisplaySettings::storeShowUUID);
    addButton(QStringLiteral("Save as RTF"), QStringLiteral("saveAsRTF"), &ContentView::saveAsRTF);

    m_list = new QListView(content);
    m_list->setObjectName(QStringLiteral("appexList"));
    m_list->setAccessibleName(QStringLiteral("Appexes"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new MessageRowDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true); // every row is one line: no per-row measuring
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont rowFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    rowFont.setPointSizeF(theFontSize);
    m_list->setFont(rowFont);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                for (const QModelIndex &index : deselected.indexes())
                    m_selection.remove(index.data(AppexListModel::IdRole).toUuid());
                for (const QModelIndex &index : selected.indexes())
                    m_selection.insert(index.data(AppexListModel::IdRole).toUuid());
            });

    m_noResults = new NoResultsPanel(content);
    m_noResults->hide();

    // The panel shares the list's cell, centred over it.
    auto *listArea = new QGridLayout;
    listArea->addWidget(m_list, 0, 0);
    listArea->addWidget(m_noResults, 0, 0, Qt::AlignCenter);

    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(controls, 0, Qt::AlignHCenter);
    column->addLayout(listArea);

    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("search"));
    m_searchField->setPlaceholderText(QStringLiteral("UUID"));
    m_searchField->setAccessibleName(QStringLiteral("Search by UUID"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMaximumWidth(280);
    connect(m_searchField, &QLineEdit::textChanged, this, &ContentView::setSearchQuery);
    auto *toolbar = addToolBar(QStringLiteral("Search"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    auto *spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    toolbar->addWidget(m_searchField);
}

void ContentView::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    QAction *getAppexes =
        m_fileMenu->addAction(QStringLiteral("Get Appexes"), this, &ContentView::getAppexes);
    getAppexes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R)); // Cmd+R on macOS
    QAction *save =
        m_fileMenu->addAction(QStringLiteral("Save as RTF"), this, &ContentView::saveAsRTF);
    save->setShortcut(QKeySequence::Save);
    m_fileMenu->addSeparator();
    QAction *close = m_fileMenu->addAction(tr("Close Window"), this, &QWidget::close);
    close->setShortcut(QKeySequence::Close);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *copy = edit->addAction(tr("&Copy"), this, &ContentView::copySelection);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setShortcut(QKeySequence::Copy);
    QAction *find = edit->addAction(tr("&Find"), this, [this] {
        m_searchField->setFocus(Qt::ShortcutFocusReason);
        m_searchField->selectAll();
    });
    find->setShortcut(QKeySequence::Find);
}

void ContentView::getAppexes()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool succeeded = m_appexer->getAppexes(m_sortCode);
    QGuiApplication::restoreOverrideCursor();
    if (succeeded) {
        setWindowTitle(QStringLiteral("Zephlist ") + dateStamp(m_theStartDate));
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(m_appexer->failureText());
    }
    // The refresh emptied the list without a notice: show what it holds now,
    // also when nothing was appended.
    scheduleRedraw();
}

void ContentView::pickSortCode(int sortCode)
{
    if (sortCode == m_sortCode)
        return;
    m_sortCode = sortCode;
    if (!m_appexer->appexList().isEmpty())
        m_appexer->sortAppexList(m_sortCode);
    DisplaySettings::storeSortCode(m_sortCode);
}

void ContentView::saveAsRTF()
{
    ReportSaver::saveAsRTF(*m_appexer, *m_savePanel, *m_errorAlert);
}

QString ContentView::selectedCopyText() const
{
    QStringList lines;
    for (const Appex &record : m_model->records()) {
        if (m_selection.contains(record.id()))
            lines << record.copyText();
    }
    return lines.join(u'\n');
}

void ContentView::copySelection()
{
    const QString text = selectedCopyText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void ContentView::setSearchQuery(const QString &query)
{
    m_searchQuery = query;
    updateSearchList();
    redraw();
}

void ContentView::updateSearchList()
{
    if (m_appexer->appexList().isEmpty())
        return;
    m_searchList = UuidSearch(m_searchQuery).filter(m_appexer->appexList());
}

void ContentView::scheduleRedraw()
{
    if (m_redrawPending)
        return;
    m_redrawPending = true;
    QMetaObject::invokeMethod(this, &ContentView::redraw, Qt::QueuedConnection);
}

void ContentView::redraw()
{
    m_redrawPending = false;
    m_countLabel->setText(QStringLiteral("%1 appexes").arg(m_appexer->appexList().size()));
    const bool searching = !m_searchQuery.isEmpty();
    m_model->setRecords(searching ? m_searchList : m_appexer->appexList(), searching);
    restoreSelection();
    m_noResults->setQuery(m_searchQuery);
    m_noResults->setVisible(searching && m_searchList.isEmpty());
}

// A reset clears the view's selection; the window's selection is a set of
// record identities that outlives it.
void ContentView::restoreSelection()
{
    if (m_selection.isEmpty())
        return;
    const QSet<QUuid> selection = m_selection;
    QItemSelection rows;
    const AppexList &records = m_model->records();
    for (int row = 0; row < records.size(); ++row) {
        if (selection.contains(records[row].id()))
            rows.select(m_model->index(row), m_model->index(row));
    }
    m_list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    m_selection = selection; // clearing the view's selection above must not shrink it
}
