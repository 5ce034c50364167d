#pragma once

#include "appexer.h"
#include "appexsearch.h"
#include "cataloguecontroller.h"
#include "erroralert.h"
#include "openpanel.h"
#include "savepanel.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>

class AppexFilter;
class JobStatus;
class MessageBar;
class MessageRowDelegate;
class NoResultsPanel;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeView;

// The main window: one catalogue, the controls above its list, and the search
// in the toolbar. Listings are read as jobs, so the window stays live while
// the tool runs.
class ContentView : public QMainWindow
{
    Q_OBJECT

public:
    // What the window works with; tests replace them.
    struct Services
    {
        QString toolPath = ListingLoader::defaultToolPath();
        ListingLimits limits;
        std::unique_ptr<SavePanel> reportPanel;  // default: a file dialog for RTF
        std::unique_ptr<SavePanel> listingPanel; // default: a file dialog for listings
        std::unique_ptr<OpenPanel> openPanel;    // default: a file dialog
        std::unique_ptr<ErrorAlert> errorAlert;  // default: a message box
        // Asks before switching an extension off; default: a message box.
        std::function<bool(const QString &question, const QString &detail)> confirm;
    };

    explicit ContentView(QWidget *parent = nullptr);
    explicit ContentView(Services services, QWidget *parent = nullptr);
    ~ContentView() override;

    [[nodiscard]] const Appexer &appexer() const { return *m_appexer; }
    [[nodiscard]] const CatalogueController &catalogue() const { return *m_catalogue; }
    // The File menu, to which the application adds its window commands.
    [[nodiscard]] QMenu *fileMenu() const { return m_fileMenu; }

    // Shows the captured listing in `file`.
    void openListing(const QString &file);

    // The selected records of the list being shown, in list order, as the
    // clipboard gets them: one copy text per line.
    [[nodiscard]] QString selectedCopyText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // No menu of toolbars: the search field cannot be hidden.
    QMenu *createPopupMenu() override { return nullptr; }

private:
    void buildActions();
    void buildMenus();
    QWidget *buildControls();
    void buildList();
    void buildSearch();
    void buildStatusBar();
    void placeWindow();

    void getAppexes();
    void pickSortCode(int sortCode);
    void setSearchScope(AppexSearch::Scope scope);
    void saveAsRTF();
    void saveListing();
    void chooseListing(const QString &title, const std::function<void(QString)> &use);
    void readListing(const QString &file, const std::function<void(QString)> &read);
    void escape();
    void copyField(AppexField field);
    void showInFileManager();
    void elect(CatalogueController::ElectionChoice choice);

    void showBusy();
    void jobFinished(bool succeeded);
    void scheduleUpdate();
    void catalogueChanged();
    void updateRowWidth();
    void updateActions();
    void updateSearchState();
    [[nodiscard]] QModelIndexList selectedRows() const;
    [[nodiscard]] const Appex *currentRecord() const;
    // A record's name for a command or question; its identifier if it has none.
    [[nodiscard]] static QString nameOf(const Appex &record);

    Appexer *m_appexer;
    CatalogueController *m_catalogue;
    AppexFilter *m_filter;
    Services m_services;
    const QDateTime m_theStartDate = QDateTime::currentDateTime();
    static constexpr qreal theFontSize = 12.0;

    bool m_showPaths;
    bool m_showUUID;
    qint64 m_sortCode;
    int m_widestRow = 0;
    bool m_toolListed = false;           // a listing of the tool was shown
    std::function<void()> m_pendingRead; // a listing chosen while a job ran
    bool m_updatePending = false;

    QMenu *m_fileMenu = nullptr;
    QTreeView *m_list = nullptr;
    MessageRowDelegate *m_delegate = nullptr;
    NoResultsPanel *m_noResults = nullptr;
    MessageBar *m_failureBar = nullptr;
    MessageBar *m_comparisonBar = nullptr;
    QLabel *m_countLabel = nullptr;
    QLineEdit *m_searchField = nullptr;
    QButtonGroup *m_sortGroup = nullptr;
    QLabel *m_matchesLabel = nullptr;
    QLabel *m_changesLabel = nullptr;
    JobStatus *m_jobStatus = nullptr;

    QAction *m_getAppexesAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveListingAction = nullptr;
    QAction *m_compareAction = nullptr;
    QAction *m_clearComparisonAction = nullptr;
    QAction *m_changesOnlyAction = nullptr;
    QAction *m_saveAsRTFAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_copyUuidAction = nullptr;
    QAction *m_copyPathAction = nullptr;
    QAction *m_copyIdentifierAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    QAction *m_findAction = nullptr;
    QAction *m_showPathsAction = nullptr;
    QAction *m_showUUIDAction = nullptr;
    QAction *m_showInFileManagerAction = nullptr;
    QAction *m_enableAction = nullptr;
    QAction *m_disableAction = nullptr;
    QAction *m_resetElectionAction = nullptr;
    QAction *m_uuidScopeAction = nullptr;
    QAction *m_allFieldsScopeAction = nullptr;
};
