#include "listingbuilder.h"

#include <QRandomGenerator>
#include <QStringList>

namespace {

QByteArray keyLine(const char *key, const QString &value)
{
    return '\t' + QByteArray(key).rightJustified(16) + " = " + value.toUtf8() + '\n';
}

} // namespace

ListingBuilder &ListingBuilder::add(const Entry &entry)
{
    const QString path = entry.path.isEmpty()
                             ? QStringLiteral("/System/Library/ExtensionKit/Extensions/%1.appex")
                                   .arg(QString(entry.name).remove(u' '))
                             : entry.path;
    QByteArray block = "+    com.example." + entry.name.toUtf8().toLower() + "(1.0)\n";
    block += keyLine("Path", path);
    block += keyLine("UUID", entry.uuid);
    block += keyLine("Timestamp", QStringLiteral("2026-03-14 09:21:07 +0000"));
    block += keyLine("SDK", entry.sdk);
    if (!entry.parentName.isEmpty())
        block +=
            keyLine("Parent Bundle", QStringLiteral("/Applications/%1.app").arg(entry.parentName));
    block += keyLine("Display Name", entry.name);
    block += keyLine("Short Name", entry.name.section(u' ', -1));
    if (!entry.parentName.isEmpty())
        block += keyLine("Parent Name", entry.parentName);
    block += keyLine("Platform", QStringLiteral("macOS"));
    if (!m_listing.isEmpty())
        m_listing += '\n';
    m_listing += block;
    return *this;
}

ListingBuilder &ListingBuilder::addGenerated(int count)
{
    static const QStringList sdks = {
        QStringLiteral("com.apple.widgetkit-extension"), QStringLiteral("com.apple.share-services"),
        QStringLiteral("com.apple.quicklook.preview"), QStringLiteral("com.apple.intents-service"),
        QStringLiteral("com.apple.FinderSync")};
    static const QStringList parents = {QString(), QStringLiteral("Notes"), QStringLiteral("Mail"),
                                        QStringLiteral("Photos"), QString()};
    QRandomGenerator random(count);
    for (int i = 0; i < count; ++i) {
        const quint32 word = random.generate();
        add({QStringLiteral("Extension %1 %2").arg(word % 9973).arg(i),
             QStringLiteral("%1-4E0A-9F3C-%2")
                 .arg(word, 8, 16, QLatin1Char('0'))
                 .arg(i, 12, 10, QLatin1Char('0'))
                 .toUpper(),
             sdks[i % sdks.size()], parents[(i / 3) % parents.size()]});
    }
    return *this;
}
