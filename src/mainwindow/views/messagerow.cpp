#include "messagerow.h"

#include "recordfacts.h"

MessageRow::MessageRow(Appex line, bool showPaths, bool showUUID, bool isSearching)
    : m_line(std::move(line))
    , m_showPaths(showPaths)
    , m_showUUID(showUUID)
    , m_isSearching(isSearching)
{}

QList<MessageRow::Item> MessageRow::items() const
{
    const auto shown = [this](AppexField field) { return RecordFacts::shownText(m_line, field); };
    QList<Item> items{{RecordFacts::shownSDK(m_line), Colour::Green},
                      {shown(AppexField::Name), Colour::Text}};
    if (m_showPaths)
        items.append({shown(AppexField::Path), Colour::Brown});
    if (!m_line.bytes(AppexField::ParentName).isEmpty()) {
        items.append({parentMarker + shown(AppexField::ParentName), Colour::Text});
        if (m_showPaths)
            items.append({shown(AppexField::ParentPath), Colour::Orange});
    }
    if (m_showUUID || m_isSearching)
        items.append({shown(AppexField::Uuid), Colour::Red});
    return items;
}

// In UTF-8 bytes, which read without making a string: close enough to choose
// the rows worth measuring.
qsizetype MessageRow::textLength(const FieldSizes &sizes, bool showPaths, bool showUUID,
                                 bool isSearching)
{
    const auto size = [&sizes](AppexField field) { return qsizetype(sizes[size_t(field)]); };
    qsizetype length = size(AppexField::SDK) + size(AppexField::Name);
    if (showPaths)
        length += size(AppexField::Path);
    if (size(AppexField::ParentName) > 0)
        length += parentMarker.size() + size(AppexField::ParentName) +
                  (showPaths ? size(AppexField::ParentPath) : 0);
    if (showUUID || isSearching)
        length += size(AppexField::Uuid);
    return length;
}
