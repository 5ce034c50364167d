#pragma once

#include "cleanupplan.h"
#include "erroralert.h"
#include "listinglimits.h"
#include "openpanel.h"
#include "savepanel.h"
#include "toolsource.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

// What a main window works with; tests replace them, and a window fills in
// the ones left empty with the real dialogs.
struct WindowServices
{
    QString toolPath = ToolSource::defaultToolPath();
    ListingLimits limits;
    std::unique_ptr<SavePanel> reportPanel;  // default: a file dialog for RTF
    std::unique_ptr<SavePanel> listingPanel; // default: a file dialog for listings
    std::unique_ptr<OpenPanel> openPanel;    // default: a file dialog
    std::unique_ptr<ErrorAlert> errorAlert;  // default: a message box
    // Asks before switching an extension off or back to the system's choice,
    // or changing its registrations, with a button named `action` that
    // agrees; default: a message box.
    std::function<bool(const QString &question, const QString &detail, const QString &action)>
        confirm;
    // A bundle folder to register, or an app that holds extensions, chosen
    // from `folder` on; empty when the user cancels. Default: a folder dialog.
    std::function<QString(const QString &folder)> chooseBundle;
    // One of the extensions of an app, by its index in `bundles`; none when
    // the user cancels. Default: a list to pick from.
    std::function<std::optional<qsizetype>(const QStringList &bundles)> pickBundle;
    // The stale copies the user agrees to unregister, of those `plan` holds;
    // none when the user cancels. Default: CleanUpDialog.
    std::function<std::optional<CleanupPlan>(const CleanupPlan &plan)> reviewCleanUp;
    // The time now, for the window's start and the names it proposes.
    std::function<QDateTime()> clock = &QDateTime::currentDateTime;

    // Fills in the empty ones with dialogs of `window`.
    void completeFor(QWidget *window);
};
