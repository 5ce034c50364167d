#pragma once

#include "windowrules.h"

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The main window's commands, each one QAction with its text, tip and keys,
// and the menus that hold them. What a command does is the window's to
// connect; when it applies, update() decides from the window's state.
class WindowActions : public QObject
{
    Q_OBJECT

public:
    enum class Command {
        GetAppexes,
        OpenListing,
        SaveListing,
        RegisterExtension,
        CompareWithListing,
        CompareWithPrevious,
        ClearComparison,
        KeepHistory,
        ClearHistory,
        ChangesOnly,
        SaveAsRTF,
        CloseWindow,
        Copy,
        CopyUuid,
        CopyPath,
        CopyIdentifier,
        SelectAll,
        Find,
        ShowPaths,
        ShowUUID,
        AsRows,
        AsTable,
        ShowDetails,
        ShowSidebar,
        ProblemsOnly,
        ShowAllCopies,
        FocusSidebar,
        ShowInFileManager,
        Enable,
        Disable,
        ResetElection,
        EnableCopy,
        DisableCopy,
        UnregisterCopy,
        CleanUpStaleCopies,
        Escape,
    };

    // The actions belong to `window`, where their keys work.
    explicit WindowActions(QWidget *window);

    [[nodiscard]] QAction *operator[](Command command) const;
    // Fills `menuBar` with the File, Edit, View and Extension menus; `scopes`
    // are the search's, for View ▸ Search In.
    void buildMenus(QMenuBar *menuBar, const QList<QAction *> &scopes);
    // The File menu, to which the application adds its window commands.
    [[nodiscard]] QMenu *fileMenu() const { return m_fileMenu; }
    // Fills the list's menu with what acts on its rows.
    void fillRowMenu(QMenu *menu) const;
    // Extension ▸ Copy Command, which the window fills as it opens.
    [[nodiscard]] QMenu *commandMenu() const { return m_commandMenu; }
    // File ▸ History, which the window fills as it opens.
    [[nodiscard]] QMenu *historyMenu() const { return m_historyMenu; }

    struct State
    {
        bool busy = false;
        bool comparing = false;
        bool selected = false;
        bool hasListing = false;
        bool hasRecords = false;
        const Appex *current = nullptr;
        WindowRules::Commands commands;
        bool fromFile = false; // the list shows a captured listing, not the system's
    };
    void update(const State &state);

private:
    static constexpr size_t commandCount = size_t(Command::Escape) + 1;
    std::array<QAction *, commandCount> m_actions{};
    QMenu *m_fileMenu = nullptr;
    QMenu *m_commandMenu;
    QMenu *m_historyMenu;
};
