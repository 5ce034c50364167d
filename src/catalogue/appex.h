#pragma once

#include <QList>
#include <QString>
#include <QUuid>

#include <array>

// One registered app extension, as the listing tool reports it.
//
// A plain value: copies are independent. The text fields hold exactly what the
// parser stored; `id` is our own identity for the record (the list selection
// uses it) and is unrelated to the tool's `uuid`.
class Appex
{
public:
    Appex();

    [[nodiscard]] QUuid id() const { return m_id; }

    // The record's clipboard form: six fields joined by tabs, no line ending.
    [[nodiscard]] QString copyText() const;

    QString SDK = QStringLiteral("[no SDK]");
    QString name;
    QString path;
    QString parentPath;
    QString parentName;
    QString uuid;
    // From the block's header line, "+    com.example.Widget(1.2)"; empty
    // when the block has none.
    QString identifier;
    QString version;
    QString election; // one of the Election names below, or empty

private:
    QUuid m_id;
};

Q_DECLARE_TYPEINFO(Appex, Q_RELOCATABLE_TYPE);

// The fields of the copy text, in order: name, path, parent name, parent
// path, SDK, UUID.
[[nodiscard]] inline std::array<const QString *, 6> copyFields(const Appex &record)
{
    return {&record.name,       &record.path, &record.parentName,
            &record.parentPath, &record.SDK,  &record.uuid};
}

using AppexList = QList<Appex>;

// What the user or the system elected for an extension, as the header line's
// tag says it: the names that `Appex::election` holds.
namespace Election {
inline const QString use = QStringLiteral("use");
inline const QString ignore = QStringLiteral("ignore");
inline const QString debug = QStringLiteral("debug");
inline const QString superseded = QStringLiteral("superseded");
inline const QString unknown = QStringLiteral("unknown");
} // namespace Election

// Set before a parent application's name, in the report and in the rows:
// the family emoji of one adult and one child, then a space.
inline const QString parentMarker = QStringLiteral("\U0001F9D1\u200D\U0001F9D2 ");
