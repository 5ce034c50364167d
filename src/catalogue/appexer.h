#pragma once

#include "appex.h"
#include "listingtool.h"
#include "sortorder.h"

#include <QDateTime>
#include <QObject>

// The catalogue of one main window: the records of the last listing and the
// moment the catalogue was made.
//
// Observers connect to appexListWillChange() and appexListDidChange(), which
// surround every change of the list: each record appended by a refresh and each
// sorting pass. Emptying the list at the start of a refresh is not announced,
// so a failed refresh sends nothing at all.
class Appexer : public QObject
{
    Q_OBJECT

public:
    explicit Appexer(QString toolPath = ListingTool::defaultPath(),
                     std::chrono::milliseconds toolTimeout = ListingTool::defaultTimeout,
                     QObject *parent = nullptr);

    [[nodiscard]] const AppexList &appexList() const { return m_appexList; }
    [[nodiscard]] QDateTime theDate() const { return m_theDate; }
    // Why the last refresh failed, in one sentence; empty after a success.
    [[nodiscard]] QString failureText() const { return m_failureText; }

    // Runs the listing tool and replaces the records with those of its
    // listing, sorted by `sortCode`. False when the tool failed; the list is
    // then empty.
    bool getAppexes(qint64 sortCode);
    // The same for a listing captured earlier: decoded as UTF-8, parsed,
    // appended and sorted as a refresh does. False when it is not UTF-8.
    bool loadListing(QByteArray listing, qint64 sortCode);
    void sortAppexList(qint64 sortCode);

signals:
    void appexListWillChange();
    void appexListDidChange();

private:
    bool fail(QString failureText);

    AppexList m_appexList;
    const QDateTime m_theDate = QDateTime::currentDateTime();
    QString m_failureText;
    const ListingTool m_tool;
};
