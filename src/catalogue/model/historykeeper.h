#pragma once

#include "listinghistory.h"

#include <QObject>
#include <QThreadPool>

// Keeps listings in a history on a thread of its own: the folder's headers
// read, a hash taken and a file written and synced take their time, and the
// thread that asks (the window's) must never wait on them. Each keep() ends
// with one kept(), told on the asking thread; keeps run one at a time, in
// the order asked.
class HistoryKeeper : public QObject
{
    Q_OBJECT

public:
    explicit HistoryKeeper(QObject *parent = nullptr);
    // Waits for a keep under way: a listing is never left half written.
    ~HistoryKeeper() override;

    // Keeps `listing`, read at `time` and holding `records` records, in `history`.
    void keep(const ListingHistory &history, const QByteArray &listing, qsizetype records,
              const QDateTime &time);

signals:
    void kept(const ListingHistory::Kept &kept);

private:
    QThreadPool m_thread;
};
