#include "filecommands.h"

#include "appexer.h"

#include "cataloguecontroller.h"
#include "reportsaver.h"
#include "savewatcher.h"
#include "statusarea.h"
#include "windowrules.h"

#include <QFileInfo>

FileCommands::FileCommands(WindowServices &services, const Appexer &appexer,
                           CatalogueController *catalogue, StatusArea *status, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_appexer(appexer)
    , m_catalogue(catalogue)
    , m_status(status)
{
    const auto saved = [status](const QString &file) {
        status->showNote(WindowRules::savedText(file));
    };
    m_reportSave =
        std::make_unique<SaveWatcher>(*m_services.reportPanel, *m_services.errorAlert, saved);
    m_listingSave =
        std::make_unique<SaveWatcher>(*m_services.listingPanel, *m_services.errorAlert, saved);
}

FileCommands::~FileCommands() = default;

void FileCommands::openListing()
{
    chooseListing(tr("Open Listing"), [this](const QString &file) { openListing(file); });
}

void FileCommands::openListing(const QString &file)
{
    if (isReadable(file))
        m_catalogue->openListing(file);
}

// A FIFO or a device could hold the window up. A file that is not there, or
// a loop of links, is left to the reading, which gives the system's reason.
bool FileCommands::isReadable(const QString &file) const
{
    const QFileInfo info(file);
    if (!info.exists() || info.isFile())
        return true;
    m_status->showFailure(
        tr("The listing \u201C%1\u201D could not be read: it is not a regular file.").arg(file));
    return false;
}

void FileCommands::compareWithListing()
{
    chooseListing(tr("Compare with Listing"), [this](const QString &file) {
        if (isReadable(file))
            m_catalogue->compareWithListing(file);
    });
}

// The panel starts in the folder of the listing shown, where its kin are likely.
void FileCommands::chooseListing(const QString &title, const std::function<void(QString)> &use)
{
    const QString shown = m_appexer.listingFile();
    m_services.openPanel->begin(title,
                                shown.isEmpty() ? QString() : QFileInfo(shown).absolutePath(),
                                [use](const QString &file) {
                                    if (!file.isEmpty())
                                        use(file);
                                });
}

void FileCommands::saveListing()
{
    const QString proposed =
        WindowRules::proposedListingName(m_appexer.listingFile(), m_services.clock());
    m_listingSave->begin(proposed, [this, listing = m_appexer.listing()](
                                       SavePanel::Response response, const QString &location) {
        ReportSaver::writeListing(response, location, listing, *m_listingSave);
    });
}

void FileCommands::saveAsRTF()
{
    ReportSaver::saveAsRTF(m_appexer, *m_reportSave, *m_reportSave);
}
