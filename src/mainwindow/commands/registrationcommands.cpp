#include "registrationcommands.h"

#include "cataloguecontroller.h"
#include "cleanupplan.h"
#include "registration.h"
#include "settings.h"
#include "windowrules.h"
#include "windowservices.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool isExtensionBundle(const QString &path)
{
    return path.endsWith(QLatin1String(".appex")) || path.endsWith(QLatin1String(".pluginkit"));
}

} // namespace

RegistrationCommands::RegistrationCommands(WindowServices &services, CatalogueController *catalogue,
                                           QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_catalogue(catalogue)
{}

void RegistrationCommands::unregisterCopy(const Appex &record)
{
    const auto [question, detail, action] = WindowRules::unregisterConfirmation(record);
    if (m_services.confirm(question, detail, action))
        m_catalogue->changeRegistration(
            Registration::of(Registration::Action::Unregister, record.path()));
}

void RegistrationCommands::registerExtension()
{
    // The dialog starts where the last bundle was found, beside which its kin lie.
    QString path = m_services.chooseBundle(Settings::lastBundleFolder());
    if (path.isEmpty())
        return;
    Settings::storeLastBundleFolder(QFileInfo(QDir::cleanPath(path)).absolutePath());
    if (!isExtensionBundle(path)) {
        // An app: one of the extensions it holds.
        const QStringList bundles = extensionsIn(path);
        if (bundles.isEmpty()) {
            emit note(tr("%1 holds no extension (.appex or .pluginkit) to register.")
                          .arg(QDir::toNativeSeparators(path)));
            return;
        }
        const std::optional<qsizetype> picked =
            bundles.size() == 1 ? 0 : m_services.pickBundle(bundles);
        if (!picked || *picked < 0 || *picked >= bundles.size())
            return;
        path = bundles[*picked];
    }
    const auto [question, detail, action] = WindowRules::registerConfirmation(path);
    if (m_services.confirm(question, detail, action))
        m_catalogue->changeRegistration(Registration::of(Registration::Action::Register, path));
}

void RegistrationCommands::cleanUp(const AppexList &records)
{
    const bool everyCopy = std::any_of(records.cbegin(), records.cend(), [](const Appex &record) {
        return record.active().has_value();
    });
    if (!everyCopy) {
        if (m_services.confirm(tr("Stale copies show in a listing of every copy."),
                               tr("Zephlist turns on Show All Copies, lists every copy, and then "
                                  "shows the stale ones."),
                               tr("List All Copies")))
            emit allCopiesWanted();
        return;
    }
    const CleanupPlan plan = CleanupPlan::of(records);
    if (plan.isEmpty()) {
        emit note(CleanupPlan::noneText());
        return;
    }
    const std::optional<CleanupPlan> chosen = m_services.reviewCleanUp(plan);
    if (chosen && !chosen->isEmpty())
        m_catalogue->cleanUp(*chosen);
}

QStringList RegistrationCommands::extensionsIn(const QString &appPath)
{
    QStringList bundles;
    for (const QString &folder :
         {QStringLiteral("Contents/PlugIns"), QStringLiteral("Contents/Extensions"),
          QStringLiteral("Contents/Library/ExtensionKit/Extensions")}) {
        const QDir dir(QDir(appPath).filePath(folder));
        for (const QFileInfo &entry :
             dir.entryInfoList({QStringLiteral("*.appex"), QStringLiteral("*.pluginkit")},
                               QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            bundles << entry.absoluteFilePath();
    }
    return bundles;
}
