#include "windowactions.h"

#include "settings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace {

using Command = WindowActions::Command;

struct Definition
{
    Command command;
    const char *objectName;
    const char *text;
    const char *tip;
    QKeySequence keys;
    bool checkable = false;
};

// Texts marked for translation here, translated when the actions are made;
// made on demand, as standard keys need the application.
QList<Definition> definitions()
{
    return {
        {Command::GetAppexes, "getAppexesAction",
         QT_TRANSLATE_NOOP("WindowActions", "&Get Appexes"),
         QT_TRANSLATE_NOOP("WindowActions", "List the app extensions that macOS registers"),
         QKeySequence(Qt::CTRL | Qt::Key_R)},
        {Command::OpenListing, "openListing",
         QT_TRANSLATE_NOOP("WindowActions", "&Open Listing\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Show a listing captured earlier"), QKeySequence::Open},
        {Command::SaveListing, "saveListing",
         QT_TRANSLATE_NOOP("WindowActions", "Save &Listing\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Save the listing shown, exactly as it was read"),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {Command::CompareWithPrevious,
         "compareWithPrevious",
         QT_TRANSLATE_NOOP("WindowActions", "Compare with &Previous Listing"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "Show what changed since the listing kept before this one"),
         {}},
        {Command::KeepHistory,
         "keepHistory",
         QT_TRANSLATE_NOOP("WindowActions", "&Keep Listings in History"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "Keep each listing that differs from the last, to compare with later"),
         {},
         true},
        {Command::ClearHistory,
         "clearHistory",
         QT_TRANSLATE_NOOP("WindowActions", "Clear &History\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Delete every kept listing"),
         {}},
        {Command::RegisterExtension,
         "registerExtension",
         QT_TRANSLATE_NOOP("WindowActions", "Register E&xtension\u2026"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "Add an extension bundle, or one of an app's, to those macOS knows"),
         {}},
        {Command::CompareWithListing,
         "compareWithListing",
         QT_TRANSLATE_NOOP("WindowActions", "Co&mpare with Listing\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Mark what changed since a listing captured earlier"),
         {}},
        {Command::ClearComparison,
         "clearComparison",
         QT_TRANSLATE_NOOP("WindowActions", "Clea&r Comparison"),
         QT_TRANSLATE_NOOP("WindowActions", "Stop comparing"),
         {}},
        {Command::ChangesOnly,
         "changesOnly",
         QT_TRANSLATE_NOOP("WindowActions", "Show &Changes Only"),
         QT_TRANSLATE_NOOP("WindowActions", "List only the records that differ"),
         {},
         true},
        {Command::SaveAsRTF, "saveAsRTFAction",
         QT_TRANSLATE_NOOP("WindowActions", "&Save as RTF\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Save the whole list as a coloured report"),
         QKeySequence::Save},
        {Command::CloseWindow, "closeWindow", QT_TRANSLATE_NOOP("WindowActions", "&Close Window"),
         QT_TRANSLATE_NOOP("WindowActions", "Close this window"),
         QKeySequence(Qt::CTRL | Qt::Key_W)},
        {Command::Copy, "copy", QT_TRANSLATE_NOOP("WindowActions", "&Copy"),
         QT_TRANSLATE_NOOP("WindowActions", "Copy the selected records as tab-separated text"),
         QKeySequence::Copy},
        {Command::CopyUuid,
         "copyUuid",
         QT_TRANSLATE_NOOP("WindowActions", "Copy &UUID"),
         QT_TRANSLATE_NOOP("WindowActions", "Copy the selected records' UUIDs"),
         {}},
        {Command::CopyPath,
         "copyPath",
         QT_TRANSLATE_NOOP("WindowActions", "Copy &Path"),
         QT_TRANSLATE_NOOP("WindowActions", "Copy the selected records' bundle paths"),
         {}},
        {Command::CopyIdentifier,
         "copyIdentifier",
         QT_TRANSLATE_NOOP("WindowActions", "Copy &Identifier"),
         QT_TRANSLATE_NOOP("WindowActions", "Copy the selected records' identifiers"),
         {}},
        {Command::SelectAll, "selectAll", QT_TRANSLATE_NOOP("WindowActions", "Select &All"),
         QT_TRANSLATE_NOOP("WindowActions", "Select every record in the list"),
         QKeySequence::SelectAll},
        {Command::Find, "find", QT_TRANSLATE_NOOP("WindowActions", "&Find"),
         QT_TRANSLATE_NOOP("WindowActions", "Search the list"), QKeySequence::Find},
        {Command::ShowPaths,
         "showPathsAction",
         QT_TRANSLATE_NOOP("WindowActions", "Show &Paths"),
         QT_TRANSLATE_NOOP("WindowActions", "Show each extension's path and its parent's"),
         {},
         true},
        {Command::ShowUUID,
         "showUUIDAction",
         QT_TRANSLATE_NOOP("WindowActions", "Show &UUID"),
         QT_TRANSLATE_NOOP("WindowActions", "Show each extension's UUID"),
         {},
         true},
        {Command::AsRows,
         "asRows",
         QT_TRANSLATE_NOOP("WindowActions", "As &Rows"),
         QT_TRANSLATE_NOOP("WindowActions", "Show each extension as a line of coloured text"),
         {},
         true},
        {Command::AsTable,
         "asTable",
         QT_TRANSLATE_NOOP("WindowActions", "As &Table"),
         QT_TRANSLATE_NOOP("WindowActions", "Show the extensions in a table, a column per field"),
         {},
         true},
        {Command::ShowDetails, "showDetails", QT_TRANSLATE_NOOP("WindowActions", "Show &Details"),
         QT_TRANSLATE_NOOP("WindowActions", "Show everything about the chosen extension"),
         QKeySequence(Qt::CTRL | Qt::Key_I), true},
        {Command::ShowSidebar,
         "showSidebar",
         QT_TRANSLATE_NOOP("WindowActions", "Show Side&bar"),
         QT_TRANSLATE_NOOP("WindowActions", "Show the categories of extensions"),
         {},
         true},
        {Command::ProblemsOnly,
         "problemsOnly",
         QT_TRANSLATE_NOOP("WindowActions", "Problems &Only"),
         QT_TRANSLATE_NOOP("WindowActions", "List only the extensions with problems"),
         {},
         true},
        {Command::ShowAllCopies,
         "showAllCopies",
         QT_TRANSLATE_NOOP("WindowActions", "Show &All Copies"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "List every registered copy of each extension, not only those in use"),
         {},
         true},
        {Command::FocusSidebar, "focusSidebar",
         QT_TRANSLATE_NOOP("WindowActions", "&Go to Sidebar"),
         QT_TRANSLATE_NOOP("WindowActions", "Move the keyboard to the categories"),
         QKeySequence(Qt::CTRL | Qt::Key_1)},
        {Command::ShowInFileManager,
         "showInFileManager",
         QT_TRANSLATE_NOOP("WindowActions", "Show in &File Manager"),
         QT_TRANSLATE_NOOP("WindowActions", "Open the folder that holds the extension"),
         {}},
        {Command::Enable,
         "enable",
         QT_TRANSLATE_NOOP("WindowActions", "&Enable"),
         QT_TRANSLATE_NOOP("WindowActions", "Use this extension"),
         {}},
        {Command::Disable,
         "disable",
         QT_TRANSLATE_NOOP("WindowActions", "&Disable\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Ignore this extension"),
         {}},
        {Command::ResetElection,
         "resetElection",
         QT_TRANSLATE_NOOP("WindowActions", "&Reset to Default"),
         QT_TRANSLATE_NOOP("WindowActions", "Let the system decide whether to use it"),
         {}},
        {Command::EnableCopy,
         "enableCopy",
         QT_TRANSLATE_NOOP("WindowActions", "Enable &This Copy"),
         QT_TRANSLATE_NOOP("WindowActions", "Use this copy of the extension"),
         {}},
        {Command::DisableCopy,
         "disableCopy",
         QT_TRANSLATE_NOOP("WindowActions", "Disable This C&opy\u2026"),
         QT_TRANSLATE_NOOP("WindowActions", "Ignore this copy of the extension"),
         {}},
        {Command::UnregisterCopy,
         "unregisterCopy",
         QT_TRANSLATE_NOOP("WindowActions", "U&nregister This Copy\u2026"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "Remove this copy's registration; the bundle stays on disk"),
         {}},
        {Command::CleanUpStaleCopies,
         "cleanUpStaleCopies",
         QT_TRANSLATE_NOOP("WindowActions", "Clean Up &Stale Copies\u2026"),
         QT_TRANSLATE_NOOP("WindowActions",
                           "Remove the registrations of copies macOS does not use: development "
                           "builds, copies in the Trash, on disk images or missing from disk"),
         {}},
        {Command::Escape, "escape", "", "", QKeySequence(Qt::Key_Escape)},
    };
}

QAction *separator(QObject *parent)
{
    auto *line = new QAction(parent);
    line->setSeparator(true);
    return line;
}

} // namespace

WindowActions::WindowActions(QWidget *window)
    : QObject(window)
    , m_commandMenu(new QMenu(tr("Copy Co&mmand"), window))
    , m_historyMenu(new QMenu(tr("Histor&y"), window))
{
    m_historyMenu->setObjectName(QStringLiteral("historyMenu"));
    m_commandMenu->setObjectName(QStringLiteral("commandMenu"));
    m_commandMenu->setToolTip(tr("Copy the pluginkit command behind an action, to run it "
                                 "elsewhere or to show it"));
    for (const Definition &definition : definitions()) {
        auto *action = new QAction(tr(definition.text), window);
        action->setObjectName(QLatin1String(definition.objectName));
        action->setToolTip(tr(definition.tip));
        action->setShortcut(definition.keys);
        action->setCheckable(definition.checkable);
        m_actions[size_t(definition.command)] = action;
    }
    // Their texts name the record they elect; buttons beside it, as in the
    // details pane's one row, show a short text.
    const std::pair<Command, const char *> shortTexts[] = {
        {Command::Enable, QT_TR_NOOP("Enable")},
        {Command::Disable, QT_TR_NOOP("Disable\u2026")},
        {Command::ResetElection, QT_TR_NOOP("Reset")},
        {Command::EnableCopy, QT_TR_NOOP("Enable Copy")},
        {Command::DisableCopy, QT_TR_NOOP("Disable Copy\u2026")}};
    for (const auto &[election, text] : shortTexts)
        (*this)[election]->setIconText(tr(text));
    // The display toggles start as last left, and are kept as they change.
    const Settings::Values settings = Settings::read();
    (*this)[Command::ShowPaths]->setChecked(settings.showPaths);
    (*this)[Command::ShowUUID]->setChecked(settings.showUUID);
    connect((*this)[Command::ShowPaths], &QAction::toggled, this, &Settings::storeShowPaths);
    connect((*this)[Command::ShowUUID], &QAction::toggled, this, &Settings::storeShowUUID);
    const std::pair<Command, bool> kept[] = {{Command::AsTable, settings.asTable},
                                             {Command::AsRows, !settings.asTable},
                                             {Command::ShowDetails, settings.showDetails},
                                             {Command::ShowSidebar, settings.showSidebar},
                                             {Command::ProblemsOnly, settings.problemsOnly},
                                             {Command::ShowAllCopies, settings.allCopies},
                                             {Command::KeepHistory, settings.keepHistory}};
    for (const auto &[command, checked] : kept)
        (*this)[command]->setChecked(checked);
    auto *layouts = new QActionGroup(this);
    layouts->addAction((*this)[Command::AsRows]);
    layouts->addAction((*this)[Command::AsTable]);
    connect((*this)[Command::AsTable], &QAction::toggled, this, &Settings::storeAsTable);
    connect((*this)[Command::ShowDetails], &QAction::toggled, this, &Settings::storeShowDetails);
    connect((*this)[Command::ShowSidebar], &QAction::toggled, this, &Settings::storeShowSidebar);
    connect((*this)[Command::ProblemsOnly], &QAction::toggled, this, &Settings::storeProblemsOnly);
    connect((*this)[Command::ShowAllCopies], &QAction::toggled, this, &Settings::storeAllCopies);
    connect((*this)[Command::KeepHistory], &QAction::toggled, this, &Settings::storeKeepHistory);
    // Esc works from anywhere in the window, even with no menu holding it.
    (*this)[Command::Escape]->setShortcutContext(Qt::WindowShortcut);
    window->addAction((*this)[Command::Escape]);
}

QAction *WindowActions::operator[](Command command) const
{
    return m_actions[size_t(command)];
}

void WindowActions::buildMenus(QMenuBar *menuBar, const QList<QAction *> &scopes)
{
    const auto add = [this](QMenu *menu, std::initializer_list<Command> commands) {
        for (const Command command : commands)
            menu->addAction((*this)[command]);
    };
    m_fileMenu = menuBar->addMenu(tr("&File"));
    add(m_fileMenu, {Command::GetAppexes, Command::OpenListing, Command::SaveListing});
    m_fileMenu->addSeparator();
    add(m_fileMenu, {Command::RegisterExtension});
    m_fileMenu->addSeparator();
    add(m_fileMenu,
        {Command::CompareWithListing, Command::CompareWithPrevious, Command::ClearComparison});
    m_fileMenu->addMenu(m_historyMenu);
    m_fileMenu->addSeparator();
    add(m_fileMenu, {Command::SaveAsRTF});
    m_fileMenu->addSeparator();
    add(m_fileMenu, {Command::CloseWindow});

    QMenu *edit = menuBar->addMenu(tr("&Edit"));
    add(edit, {Command::Copy, Command::CopyUuid, Command::CopyPath, Command::CopyIdentifier});
    edit->addSeparator();
    add(edit, {Command::SelectAll, Command::Find});

    QMenu *view = menuBar->addMenu(tr("&View"));
    add(view, {Command::AsRows, Command::AsTable});
    view->addSeparator();
    add(view, {Command::ShowPaths, Command::ShowUUID, Command::ChangesOnly, Command::ProblemsOnly,
               Command::ShowAllCopies});
    view->addSeparator();
    add(view, {Command::ShowSidebar, Command::FocusSidebar, Command::ShowDetails});
    view->addSeparator();
    view->addMenu(tr("&Search In"))->addActions(scopes);

    QMenu *extension = menuBar->addMenu(tr("E&xtension"));
    add(extension, {Command::ShowInFileManager});
    extension->addSeparator();
    add(extension, {Command::Enable, Command::Disable, Command::ResetElection});
    extension->addSeparator();
    add(extension, {Command::EnableCopy, Command::DisableCopy, Command::UnregisterCopy});
    extension->addSeparator();
    add(extension, {Command::CleanUpStaleCopies});
    extension->addSeparator();
    extension->addMenu(m_commandMenu);
}

void WindowActions::fillRowMenu(QMenu *menu) const
{
    const WindowActions &self = *this;
    menu->addActions({self[Command::Copy], self[Command::CopyUuid], self[Command::CopyPath],
                      self[Command::CopyIdentifier], separator(menu), self[Command::SelectAll],
                      separator(menu), self[Command::ShowInFileManager], separator(menu),
                      self[Command::Enable], self[Command::Disable], self[Command::ResetElection],
                      separator(menu), self[Command::EnableCopy], self[Command::DisableCopy],
                      self[Command::UnregisterCopy], separator(menu)});
    menu->addMenu(m_commandMenu);
}

void WindowActions::update(const State &state)
{
    const WindowActions &self = *this;
    self[Command::GetAppexes]->setEnabled(!state.busy);
    self[Command::SaveListing]->setEnabled(state.hasListing);
    self[Command::SaveAsRTF]->setEnabled(state.hasRecords);
    self[Command::ClearComparison]->setEnabled(state.comparing && !state.busy);
    self[Command::CompareWithPrevious]->setEnabled(state.hasRecords && !state.busy);
    self[Command::ChangesOnly]->setEnabled(state.comparing);
    for (const Command copy :
         {Command::Copy, Command::CopyUuid, Command::CopyPath, Command::CopyIdentifier})
        self[copy]->setEnabled(state.selected);
    self[Command::ShowInFileManager]->setEnabled(state.commands.showInFileManager);
    self[Command::Enable]->setText(WindowRules::enableText(state.current));
    self[Command::Disable]->setText(WindowRules::disableText(state.current));
    self[Command::ResetElection]->setText(WindowRules::resetText(state.current));
    self[Command::Enable]->setEnabled(state.commands.enable);
    self[Command::Disable]->setEnabled(state.commands.disable);
    self[Command::ResetElection]->setEnabled(state.commands.reset);
    self[Command::EnableCopy]->setEnabled(state.commands.enableCopy);
    self[Command::DisableCopy]->setEnabled(state.commands.disableCopy);
    self[Command::UnregisterCopy]->setEnabled(state.commands.unregister);
    self[Command::RegisterExtension]->setEnabled(!state.busy && !state.fromFile);
    self[Command::CleanUpStaleCopies]->setEnabled(!state.busy && !state.fromFile);
    m_commandMenu->setEnabled(state.current != nullptr);
}
