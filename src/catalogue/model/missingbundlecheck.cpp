#include "missingbundlecheck.h"

#include <QFileInfo>

namespace {

constexpr int batchSize = 2000;

QString rootFolder()
{
#ifdef Q_OS_MACOS
    return QString();
#else
    return qEnvironmentVariable("ZEPHLIST_BUNDLE_ROOT");
#endif
}

} // namespace

bool MissingBundleCheck::isAvailable()
{
#ifdef Q_OS_MACOS
    return true;
#else
    return !rootFolder().isEmpty();
#endif
}

MissingBundleCheck::MissingBundleCheck(QObject *parent)
    : QObject(parent)
{
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &MissingBundleCheck::checkBatch);
}

void MissingBundleCheck::start(AppexList records)
{
    m_root = rootFolder();
    m_records = std::move(records);
    m_row = 0;
    m_missing.clear();
    m_next.start();
}

void MissingBundleCheck::checkBatch()
{
    const qsizetype end = std::min<qsizetype>(m_records.size(), m_row + batchSize);
    for (; m_row < end; ++m_row) {
        const QString path = m_records[m_row].path();
        if (!path.isEmpty() && !QFileInfo::exists(m_root + path))
            m_missing.insert(path.toUtf8());
    }
    if (m_row == m_records.size()) {
        m_next.stop();
        m_records.clear();
        emit finished(m_missing);
    }
}
