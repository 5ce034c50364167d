#include "settings.h"

#include "windowrules.h"

#include <QDir>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <memory>

namespace {

const QString showPathsKey = QStringLiteral("showPaths");
const QString showUUIDKey = QStringLiteral("showUUID");
const QString sortCodeKey = QStringLiteral("sortCode");
const QString searchScopeKey = QStringLiteral("searchScope");
const QString asTableKey = QStringLiteral("asTable");
const QString showDetailsKey = QStringLiteral("showDetails");
const QString showSidebarKey = QStringLiteral("showSidebar");
const QString problemsOnlyKey = QStringLiteral("problemsOnly");
const QString allCopiesKey = QStringLiteral("allCopies");
const QString keepHistoryKey = QStringLiteral("keepHistory");
const QString tableLayoutKey = QStringLiteral("tableLayout");
const QString windowGeometryKey = QStringLiteral("windowGeometry");
const QString lastFolderKey = QStringLiteral("lastFolder");
const QString lastBundleFolderKey = QStringLiteral("lastBundleFolder");

const QString organisation = QStringLiteral("Zephlist");
const QString application = QStringLiteral("Zephlist");

// The platform's store (the preferences domain on macOS), unless a test set
// another default format and location.
std::unique_ptr<QSettings> openPreferences()
{
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                       organisation, application);
}

// Text-based stores (INI) give every value back as a string: accept the
// string forms that the store itself writes, and nothing else.
bool readBool(const QSettings &settings, const QString &key, bool byDefault = false)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    return byDefault;
}

qint64 readInteger(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    bool isInteger = false;
    qint64 integer = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        integer = value.toLongLong(&isInteger);
        break;
    case QMetaType::QString:
        integer = value.toString().toLongLong(&isInteger);
        break;
    default:
        break;
    }
    return isInteger ? integer : 0;
}

void store(const QString &key, const QVariant &value)
{
    const auto settings = openPreferences();
    settings->setValue(key, value);
    settings->sync();
}

// The folder kept under `key`, else `fallback`, else the home folder: the
// first that exists, since a file dialog takes a folder that does not for a
// file's name.
QString existingFolder(const QString &key, const QString &fallback)
{
    for (const QString &folder : {openPreferences()->value(key).toString(), fallback}) {
        if (!folder.isEmpty() && QDir(folder).exists())
            return folder;
    }
    return QDir::homePath();
}

} // namespace

namespace Settings {

Values read()
{
    const auto settings = openPreferences();
    Values values{readBool(*settings, showPathsKey), readBool(*settings, showUUIDKey),
                  readInteger(*settings, sortCodeKey)};
    if (settings->value(searchScopeKey).toString() == QLatin1String("all"))
        values.searchScope = AppexSearch::Scope::AllFields;
    values.asTable = readBool(*settings, asTableKey);
    values.showDetails = readBool(*settings, showDetailsKey);
    values.showSidebar = readBool(*settings, showSidebarKey);
    values.problemsOnly = readBool(*settings, problemsOnlyKey);
    values.allCopies = readBool(*settings, allCopiesKey);
    values.keepHistory = readBool(*settings, keepHistoryKey, true);
    return values;
}

void storeShowPaths(bool showPaths)
{
    store(showPathsKey, showPaths);
}

void storeShowUUID(bool showUUID)
{
    store(showUUIDKey, showUUID);
}

void storeSortCode(SortCode sortCode)
{
    store(sortCodeKey, qint64(sortCode));
}

void storeSearchScope(AppexSearch::Scope scope)
{
    store(searchScopeKey,
          scope == AppexSearch::Scope::AllFields ? QStringLiteral("all") : QStringLiteral("uuid"));
}

void storeAsTable(bool asTable)
{
    store(asTableKey, asTable);
}

void storeShowDetails(bool showDetails)
{
    store(showDetailsKey, showDetails);
}

void storeShowSidebar(bool showSidebar)
{
    store(showSidebarKey, showSidebar);
}

void storeProblemsOnly(bool problemsOnly)
{
    store(problemsOnlyKey, problemsOnly);
}

void storeAllCopies(bool allCopies)
{
    store(allCopiesKey, allCopies);
}

void storeKeepHistory(bool keepHistory)
{
    store(keepHistoryKey, keepHistory);
}

QByteArray tableLayout()
{
    return openPreferences()->value(tableLayoutKey).toByteArray();
}

void storeTableLayout(const QByteArray &layout)
{
    store(tableLayoutKey, layout);
}

QByteArray windowGeometry()
{
    return openPreferences()->value(windowGeometryKey).toByteArray();
}

void storeWindowGeometry(const QByteArray &geometry)
{
    store(windowGeometryKey, geometry);
}

void restoreWindow(QWidget *window, QSize preferred)
{
    // Exactly as it was left: restoreGeometry() brings a place kept from
    // another screen, or a larger one, back on the screen itself. Moved again
    // here before it shows, a window would be placed by its frame where its
    // inside was, and creep down by its title bar on every start.
    if (window->restoreGeometry(windowGeometry()))
        return;
    const QRect available = window->screen()->availableGeometry();
    // Never larger than nine tenths of the screen.
    QRect placed(QPoint(),
                 preferred.boundedTo(available.size() * 0.9).expandedTo(window->minimumSizeHint()));
    placed.moveCenter(available.center());
    window->setGeometry(WindowRules::keptWithin(placed, available));
}

QString lastFolder()
{
    return existingFolder(lastFolderKey,
                          QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void storeLastFolder(const QString &folder)
{
    store(lastFolderKey, folder);
}

QString lastBundleFolder()
{
    return existingFolder(lastBundleFolderKey, QString());
}

void storeLastBundleFolder(const QString &folder)
{
    store(lastBundleFolderKey, folder);
}

} // namespace Settings
