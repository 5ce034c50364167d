#pragma once

#include "appex.h"

#include <QObject>
#include <QSet>
#include <QTimer>

// Looks for the bundles of a listing's records on disk, a batch per turn of
// the event loop, so that a large listing never holds the window up. Off
// macOS the paths are the stand-in's, which exist nowhere: they are looked for
// under the folder that ZEPHLIST_BUNDLE_ROOT names, and not at all without it.
class MissingBundleCheck : public QObject
{
    Q_OBJECT

public:
    // Whether bundles can be looked for here, and under which folder.
    [[nodiscard]] static bool isAvailable();

    explicit MissingBundleCheck(QObject *parent = nullptr);

    // Checks the paths of `records`.
    void start(AppexList records);
    void cancel() { m_next.stop(); }
    [[nodiscard]] bool isRunning() const { return m_next.isActive(); }

signals:
    // The paths of the bundles that are not there.
    void finished(const QSet<QByteArray> &missingPaths);

private:
    void checkBatch();

    QString m_root;
    AppexList m_records; // shared with the catalogue's until it changes them
    qsizetype m_row = 0;
    QSet<QByteArray> m_missing;
    QTimer m_next;
};
