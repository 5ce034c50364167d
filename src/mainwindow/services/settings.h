#pragma once

#include "appexsearch.h"
#include "sortcode.h"

#include <QByteArray>
#include <QString>

class QSize;
class QWidget;

// What the main windows keep between runs, in the app's preferences
// (QSettings, organisation and application "Zephlist"): the display settings,
// read when a window is made and written at once on every change, and where
// windows and file dialogs were last. An absent key, or a value of another
// type, reads as its default.
namespace Settings {

struct Values
{
    bool showPaths = false;
    bool showUUID = false;
    qint64 sortCode = 0;
    AppexSearch::Scope searchScope = AppexSearch::Scope::Uuid;
    bool asTable = false;
    bool showDetails = false;
    bool showSidebar = false;
    bool problemsOnly = false;
    bool allCopies = false;
    bool keepHistory = true;
};

[[nodiscard]] Values read();

void storeShowPaths(bool showPaths);
void storeShowUUID(bool showUUID);
void storeSortCode(SortCode sortCode);
void storeSearchScope(AppexSearch::Scope scope);
void storeAsTable(bool asTable);
void storeShowDetails(bool showDetails);
void storeShowSidebar(bool showSidebar);
void storeProblemsOnly(bool problemsOnly);
void storeAllCopies(bool allCopies);
void storeKeepHistory(bool keepHistory);

// The table's columns: order, widths and those hidden, as
// QHeaderView::saveState() gives them.
[[nodiscard]] QByteArray tableLayout();
void storeTableLayout(const QByteArray &layout);

// The last main window's size and place, as QWidget::saveGeometry() gives it.
[[nodiscard]] QByteArray windowGeometry();
void storeWindowGeometry(const QByteArray &geometry);
// Gives `window` the last main window's size and place, or, when none was
// kept or it does not restore, `preferred` centred on its screen; either way
// wholly on the screen's available area.
void restoreWindow(QWidget *window, QSize preferred);

// The folder of the last file opened or saved; at first the documents folder,
// or the home folder when there is none.
[[nodiscard]] QString lastFolder();
void storeLastFolder(const QString &folder);
// The folder that held the last bundle or app chosen to register, kept apart
// from the listings' since extensions lie elsewhere; at first the home folder.
[[nodiscard]] QString lastBundleFolder();
void storeLastBundleFolder(const QString &folder);

} // namespace Settings
