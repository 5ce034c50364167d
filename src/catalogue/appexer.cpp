#include "appexer.h"

#include "listingparser.h"
#include "sortorder.h"

#include <QStringDecoder>

Appexer::Appexer(QString toolPath, std::chrono::milliseconds toolTimeout, QObject *parent)
    : QObject(parent)
    , m_tool(std::move(toolPath), toolTimeout)
{}

bool Appexer::getAppexes(qint64 sortCode)
{
    m_appexList.clear(); // unannounced: observers hear of the new records only
    ListingTool::Result result = m_tool.run();
    if (!result.failureText.isEmpty())
        return fail(std::move(result.failureText));
    return loadListing(std::move(result.output), sortCode);
}

bool Appexer::loadListing(QByteArray listing, qint64 sortCode)
{
    m_appexList.clear();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(listing);
    if (decoder.hasError())
        return fail(QStringLiteral("The listing is not valid UTF-8 text, so none of it was read."));
    listing = QByteArray(); // the text is all we need from here on

    m_failureText.clear();
    for (Appex &record : parseListing(text)) {
        emit appexListWillChange();
        m_appexList.append(std::move(record));
        emit appexListDidChange();
    }
    sortAppexList(sortCode);
    return true;
}

void Appexer::sortAppexList(qint64 sortCode)
{
    if (m_appexList.size() < 2)
        return;
    for (const SortOrder::Key key : SortOrder::passesFor(sortCode)) {
        emit appexListWillChange();
        SortOrder::sortBy(m_appexList, key);
        emit appexListDidChange();
    }
}

bool Appexer::fail(QString failureText)
{
    m_appexList.clear();
    m_failureText = std::move(failureText);
    return false;
}
