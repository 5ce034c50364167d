#pragma once

#include "appexer.h"
#include "erroralert.h"
#include "savepanel.h"

#include <QDateTime>
#include <QMainWindow>
#include <QSet>
#include <QUuid>

#include <memory>

class AppexListModel;
class NoResultsPanel;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;

// The main window: one catalogue, the controls above its list, and the UUID
// search in the toolbar.
class ContentView : public QMainWindow
{
    Q_OBJECT

public:
    // What the window works with; tests replace them.
    struct Services
    {
        QString toolPath = ListingTool::defaultPath();
        std::unique_ptr<SavePanel> savePanel;   // default: a file dialog
        std::unique_ptr<ErrorAlert> errorAlert; // default: a message box
    };

    explicit ContentView(QWidget *parent = nullptr);
    explicit ContentView(Services services, QWidget *parent = nullptr);
    ~ContentView() override;

    [[nodiscard]] const Appexer &appexer() const { return *m_appexer; }

    // The File menu, to which the application adds its window commands.
    [[nodiscard]] QMenu *fileMenu() const { return m_fileMenu; }

    // The selected records of the list being shown, in list order, as the
    // clipboard gets them: one copy text per line.
    [[nodiscard]] QString selectedCopyText() const;

private:
    void buildControls(QWidget *content);
    void buildMenus();

    void getAppexes();
    void pickSortCode(int sortCode);
    void saveAsRTF();
    void copySelection();
    void setSearchQuery(const QString &query);
    void updateSearchList();

    void scheduleRedraw();
    void redraw();
    void restoreSelection();

    Appexer *m_appexer;
    std::unique_ptr<SavePanel> m_savePanel;
    std::unique_ptr<ErrorAlert> m_errorAlert;
    const QDateTime m_theStartDate = QDateTime::currentDateTime();
    static constexpr qreal theFontSize = 12.0;

    QSet<QUuid> m_selection;
    bool m_showPaths;
    bool m_showUUID;
    qint64 m_sortCode;
    QString m_searchQuery;
    AppexList m_searchList;
    bool m_redrawPending = false;

    AppexListModel *m_model;
    QListView *m_list;
    NoResultsPanel *m_noResults;
    QLabel *m_countLabel;
    QLineEdit *m_searchField;
    QMenu *m_fileMenu;
};
