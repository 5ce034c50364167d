#include "messagerow.h"

MessageRow::MessageRow(Appex line, bool showPaths, bool showUUID, bool isSearching)
    : m_line(std::move(line))
    , m_showPaths(showPaths)
    , m_showUUID(showUUID)
    , m_isSearching(isSearching)
{}

QList<MessageRow::Item> MessageRow::items() const
{
    QList<Item> items{{m_line.SDK, Colour::Green}, {m_line.name, Colour::Text}};
    if (m_showPaths)
        items.append({m_line.path, Colour::Brown});
    if (!m_line.parentName.isEmpty()) {
        items.append({parentMarker + m_line.parentName, Colour::Text});
        if (m_showPaths)
            items.append({m_line.parentPath, Colour::Orange});
    }
    if (m_showUUID || m_isSearching)
        items.append({m_line.uuid, Colour::Red});
    return items;
}

qsizetype MessageRow::textLength(const Appex &line, bool showPaths, bool showUUID, bool isSearching)
{
    qsizetype length = line.SDK.size() + line.name.size();
    if (showPaths)
        length += line.path.size();
    if (!line.parentName.isEmpty())
        length +=
            parentMarker.size() + line.parentName.size() + (showPaths ? line.parentPath.size() : 0);
    if (showUUID || isSearching)
        length += line.uuid.size();
    return length;
}
