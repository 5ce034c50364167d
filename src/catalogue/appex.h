#pragma once

#include <QList>
#include <QString>
#include <QUuid>

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

private:
    QUuid m_id;
};

Q_DECLARE_TYPEINFO(Appex, Q_RELOCATABLE_TYPE);

using AppexList = QList<Appex>;

// Set before a parent application's name, in the report and in the rows:
// the family emoji of one adult and one child, then a space.
inline const QString parentMarker = QStringLiteral("\U0001F9D1\u200D\U0001F9D2 ");
