#pragma once

#include "appexer.h"
#include "cataloguecontroller.h"
#include "columnranks.h"
#include "listinghistory.h"
#include "windowservices.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>

class AppexColumns;
class AppexFilter;
class AppexListView;
class AppexScope;
class AppexTableView;
class CategorySidebar;
class DetailsPane;
class ElectionCommands;
class EmptyListingPanel;
class QAbstractItemView;
class ControlRow;
class FileCommands;
class RegistrationCommands;
class NoResultsPanel;
class SearchField;
class StatusArea;
class WelcomePanel;
class WindowActions;

// The main window: one catalogue, the controls and the search across its top,
// the list below. It wires its parts together: the commands, the list, the
// search, the status area and the catalogue's jobs, which run while the
// window stays live.
class ContentView : public QMainWindow
{
    Q_OBJECT

public:
    using Services = WindowServices;

    explicit ContentView(QWidget *parent = nullptr);
    explicit ContentView(Services services, QWidget *parent = nullptr);
    ~ContentView() override;

    [[nodiscard]] const Appexer &appexer() const { return *m_appexer; }
    [[nodiscard]] const CatalogueController &catalogue() const { return *m_catalogue; }
    // The File menu, to which the application adds its window commands.
    [[nodiscard]] QMenu *fileMenu() const;

    // Shows the captured listing in `file`.
    void openListing(const QString &file);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // No menu of toolbars: the search field cannot be hidden.
    QMenu *createPopupMenu() override { return nullptr; }

private:
    void layOut();
    void connectCommands();

    // The rows or the table, whichever the window shows.
    [[nodiscard]] QAbstractItemView *shownView() const;
    void showAsTable(bool asTable);
    void copySelected(const std::function<QString(const Appex &)> &text) const;
    void chooseScope(const QString &category, bool problems);
    void showDetails();
    void openDetails();

    void elect(Election::Choice choice, Election::Target kind = Election::Target::Identifier);
    void showAllCopies(bool allCopies);
    void listAllCopiesToCleanUp();
    void fillCommandMenu();
    void keepHistory(bool keep);
    void fillHistoryMenu();
    void compareWithPrevious();
    void compareWithKept(const ListingHistory::Entry &entry);
    void clearHistory();

    void jobFinished(const CatalogueController::Outcome &outcome);
    void sortBy(SortCode code);
    // Orders the catalogue by m_columnOrder's column, if one is chosen.
    void orderByColumn();
    void keepChoiceInSight();
    void recordsChanged();
    void scheduleUpdate();
    void catalogueChanged();
    void updateActions();

    Services m_services;
    const QDateTime m_startDate;
    Appexer *m_appexer;
    AppexFilter *m_filter;
    CatalogueController *m_catalogue;
    WindowActions *m_actions;
    AppexScope *m_scope;
    AppexColumns *m_columns;
    AppexListView *m_list;
    AppexTableView *m_table;
    CategorySidebar *m_sidebar;
    DetailsPane *m_details = nullptr;
    SearchField *m_search;
    StatusArea *m_status;
    ControlRow *m_controls = nullptr;
    NoResultsPanel *m_noResults;
    WelcomePanel *m_welcome;
    EmptyListingPanel *m_emptyListing;
    FileCommands *m_files = nullptr;
    RegistrationCommands *m_registrations = nullptr;
    // Where the window keeps its listings, whether or not keeping is on.
    const ListingHistory m_history{ListingHistory::defaultFolder()};
    ElectionCommands *m_elections = nullptr;
    ColumnRanks m_columnRanks;
    // The table's column whose order the rows are in, and which way; none
    // while the sort code orders them.
    std::optional<std::pair<int, Qt::SortOrder>> m_columnOrder;

    bool m_toolListed = false; // a listing of the tool was shown
    bool m_listed = false;     // any listing was shown
    bool m_updatePending = false;
    // A stored sort code other than the four shows as none of them until the
    // user picks one.
    bool m_sortCodeShown = true;
};
