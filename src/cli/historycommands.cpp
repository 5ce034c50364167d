#include "historycommands.h"

#include "listingparser.h"
#include "messages.h"
#include "output.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

HistoryCommands::HistoryCommands(ListingHistory history)
    : m_history(std::move(history))
{}

bool HistoryCommands::list(Output &output, bool asJson) const
{
    const ListingHistory::Entries found = m_history.entries();
    for (const QString &note : found.notes)
        Messages::printNote(note);
    if (found.entries.isEmpty())
        Messages::printNote(tr("No listings are kept in %1.").arg(m_history.folder()));
    QByteArray text;
    QJsonArray objects;
    for (const ListingHistory::Entry &entry : found.entries) {
        const QString time = entry.time.toString(Qt::ISODateWithMs);
        const QString file = QDir::toNativeSeparators(entry.file);
        if (asJson)
            objects.append(QJsonObject{
                {QStringLiteral("time"), time},
                {QStringLiteral("records"), entry.records},
                {QStringLiteral("file"), file},
            });
        else
            text += (time + u'\t' + QString::number(entry.records) + u'\t' + file + u'\n').toUtf8();
    }
    if (asJson)
        text = QJsonDocument(objects).toJson();
    return output.write(text) && output.finish();
}

std::optional<Listing> HistoryCommands::readPrevious()
{
    const ListingHistory::Entries found = m_history.entries();
    if (found.entries.isEmpty()) {
        for (const QString &note : found.notes)
            Messages::printNote(note);
        Messages::printError(
            tr("No listing is kept in %1 to compare with yet.").arg(m_history.folder()));
        return std::nullopt;
    }
    const ListingHistory::Entry &newest = found.entries.last();
    const JobResult<QByteArray> bytes = m_history.read(newest);
    if (const auto *failure = std::get_if<JobFailure>(&bytes)) {
        Messages::printError(failure->text);
        return std::nullopt;
    }
    ListingParser parser;
    parser.setKeepsListing(false);
    parser.addBytes(std::get<QByteArray>(bytes));
    m_previousTime = newest.time;
    return Listing{parser.finish(), {}, newest.file};
}
