#include "windowservices.h"

#include "cleanupdialog.h"
#include "filedialogopenpanel.h"
#include "filedialogsavepanel.h"
#include "messageboxalert.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

bool askByMessageBox(QWidget *window, const QString &question, const QString &detail,
                     const QString &action)
{
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Cancel, window);
    box.setTextFormat(Qt::PlainText); // a name is no markup
    box.setInformativeText(detail);
    QPushButton *accept = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<qsizetype> pickFromList(QWidget *window, const QStringList &bundles)
{
    bool picked = false;
    const QString bundle = QInputDialog::getItem(
        window, QObject::tr("Register Extension"),
        QObject::tr("The app holds these extensions. Register:"), bundles, 0, false, &picked);
    if (!picked)
        return std::nullopt;
    return bundles.indexOf(bundle);
}

} // namespace

void WindowServices::completeFor(QWidget *window)
{
    if (!reportPanel)
        reportPanel = std::make_unique<FileDialogSavePanel>(
            window, FileDialogSavePanel::FileType{QObject::tr("Save Report as RTF"),
                                                  QObject::tr("Rich Text Format (*.rtf)"), ".rtf"});
    if (!listingPanel)
        listingPanel = std::make_unique<FileDialogSavePanel>(
            window, FileDialogSavePanel::FileType{QObject::tr("Save Listing"),
                                                  QObject::tr("Listings (*.txt)"), ".txt"});
    if (!openPanel)
        openPanel = std::make_unique<FileDialogOpenPanel>(window);
    if (!errorAlert)
        errorAlert = std::make_unique<MessageBoxAlert>(window);
    if (!confirm)
        confirm = [window](const QString &question, const QString &detail, const QString &action) {
            return askByMessageBox(window, question, detail, action);
        };
    if (!chooseBundle)
        chooseBundle = [window](const QString &folder) {
            return QFileDialog::getExistingDirectory(
                window, QObject::tr("Register Extension: choose an extension or an app"), folder);
        };
    if (!pickBundle)
        pickBundle = [window](const QStringList &bundles) { return pickFromList(window, bundles); };
    if (!reviewCleanUp)
        reviewCleanUp = [window](const CleanupPlan &plan) -> std::optional<CleanupPlan> {
            CleanUpDialog dialog(plan, window);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.chosenPlan();
        };
}
