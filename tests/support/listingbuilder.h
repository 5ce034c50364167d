#pragma once

#include <QByteArray>
#include <QString>

// Builds listings in pluginkit's verbose shape: an entry per call, blank lines
// between entries, tab-indented and right-aligned keys.
class ListingBuilder
{
public:
    struct Entry
    {
        QString name;
        QString uuid;
        QString sdk = QStringLiteral("com.apple.widgetkit-extension");
        QString parentName = {};
        QString path = {};
    };

    ListingBuilder &add(const Entry &entry);
    // `count` entries with distinct names, UUIDs and a few SDKs and parents.
    ListingBuilder &addGenerated(int count);
    [[nodiscard]] QByteArray listing() const { return m_listing; }

private:
    QByteArray m_listing;
};
