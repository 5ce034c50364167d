#include "extensionpoint.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

struct Category
{
    QByteArrayView point;
    const char *name; // untranslated
};

// Sorted by point, as std::lower_bound reads it.
constexpr std::array categories = std::to_array<Category>({
    {"com.apple.FinderSync", QT_TRANSLATE_NOOP("ExtensionPoint", "Finder")},
    {"com.apple.Safari.content-blocker", QT_TRANSLATE_NOOP("ExtensionPoint", "Safari")},
    {"com.apple.Safari.extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Safari")},
    {"com.apple.Safari.web-extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Safari")},
    {"com.apple.Settings.extension.ui", QT_TRANSLATE_NOOP("ExtensionPoint", "Settings")},
    {"com.apple.appintents-extension", QT_TRANSLATE_NOOP("ExtensionPoint", "App Intents")},
    {"com.apple.authentication-services-account-authentication-modification-ui",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Passwords")},
    {"com.apple.authentication-services-credential-provider-ui",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Passwords")},
    {"com.apple.background-asset-downloader-extension",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Background Downloads")},
    {"com.apple.contact.provider.extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Contacts")},
    {"com.apple.ctk-tokens", QT_TRANSLATE_NOOP("ExtensionPoint", "Smart Cards")},
    {"com.apple.dt.Xcode.extension.source-editor",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Xcode Source Editor")},
    {"com.apple.dt.previews", QT_TRANSLATE_NOOP("ExtensionPoint", "Xcode Previews")},
    {"com.apple.email.extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Mail")},
    {"com.apple.fileprovider-actionsui", QT_TRANSLATE_NOOP("ExtensionPoint", "File Providers")},
    {"com.apple.fileprovider-nonui", QT_TRANSLATE_NOOP("ExtensionPoint", "File Providers")},
    {"com.apple.intents-service", QT_TRANSLATE_NOOP("ExtensionPoint", "Siri Intents")},
    {"com.apple.message-payload-provider", QT_TRANSLATE_NOOP("ExtensionPoint", "Messages")},
    {"com.apple.networkextension.filter-data", QT_TRANSLATE_NOOP("ExtensionPoint", "Network")},
    {"com.apple.networkextension.packet-tunnel", QT_TRANSLATE_NOOP("ExtensionPoint", "Network")},
    {"com.apple.photo-editing", QT_TRANSLATE_NOOP("ExtensionPoint", "Photos Editing")},
    {"com.apple.quicklook.preview", QT_TRANSLATE_NOOP("ExtensionPoint", "Quick Look")},
    {"com.apple.quicklook.thumbnail", QT_TRANSLATE_NOOP("ExtensionPoint", "Quick Look")},
    {"com.apple.screensaver", QT_TRANSLATE_NOOP("ExtensionPoint", "Screen Savers")},
    {"com.apple.services", QT_TRANSLATE_NOOP("ExtensionPoint", "Actions")},
    {"com.apple.share-services", QT_TRANSLATE_NOOP("ExtensionPoint", "Sharing")},
    {"com.apple.spotlight.import", QT_TRANSLATE_NOOP("ExtensionPoint", "Spotlight")},
    {"com.apple.storagemanagement", QT_TRANSLATE_NOOP("ExtensionPoint", "Storage")},
    {"com.apple.textinputmethod-extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Input Methods")},
    {"com.apple.ui-services", QT_TRANSLATE_NOOP("ExtensionPoint", "Actions")},
    {"com.apple.usernotifications.content-extension",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Notification Center")},
    {"com.apple.usernotifications.service",
     QT_TRANSLATE_NOOP("ExtensionPoint", "Notification Center")},
    {"com.apple.widget-extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Widgets")},
    {"com.apple.widgetkit-extension", QT_TRANSLATE_NOOP("ExtensionPoint", "Widgets")},
});

const Category *find(QByteArrayView point)
{
    const auto at = std::lower_bound(
        categories.begin(), categories.end(), point,
        [](const Category &category, QByteArrayView key) { return category.point < key; });
    return at != categories.end() && at->point == point ? &*at : nullptr;
}

} // namespace

namespace ExtensionPoint {

QString category(QByteArrayView point)
{
    if (const Category *known = find(point))
        return QCoreApplication::translate("ExtensionPoint", known->name);
    return QString::fromUtf8(point);
}

bool matches(QByteArrayView point, QStringView text)
{
    return QString::fromUtf8(point).compare(text, Qt::CaseInsensitive) == 0 ||
           category(point).compare(text, Qt::CaseInsensitive) == 0;
}

} // namespace ExtensionPoint
