#include "recordformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace RecordFormat {

QByteArray tsv(const AppexList &records)
{
    QString text;
    for (const Appex &record : records)
        text += record.copyText() + u'\n';
    return text.toUtf8();
}

QByteArray json(const AppexList &records)
{
    QJsonArray array;
    for (const Appex &record : records) {
        array.append(QJsonObject{
            {QStringLiteral("SDK"), record.SDK},
            {QStringLiteral("name"), record.name},
            {QStringLiteral("path"), record.path},
            {QStringLiteral("parentPath"), record.parentPath},
            {QStringLiteral("parentName"), record.parentName},
            {QStringLiteral("uuid"), record.uuid},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace RecordFormat
