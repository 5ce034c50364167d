#include "historykeeper.h"

HistoryKeeper::HistoryKeeper(QObject *parent)
    : QObject(parent)
{
    // One at a time: two keeps at once would each compare with the newest
    // kept before either, and keep the same listing twice.
    m_thread.setMaxThreadCount(1);
}

HistoryKeeper::~HistoryKeeper()
{
    m_thread.waitForDone();
}

void HistoryKeeper::keep(const ListingHistory &history, const QByteArray &listing,
                         qsizetype records, const QDateTime &time)
{
    m_thread.start([this, history, listing, records, time] {
        const ListingHistory::Kept kept = history.keep(listing, records, time);
        // Told on this object's thread; dropped if it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, kept] { emit this->kept(kept); }, Qt::QueuedConnection);
    });
}
