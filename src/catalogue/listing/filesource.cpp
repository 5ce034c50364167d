#include "filesource.h"

#include <QFileInfo>

#include <cstdio>

FileSource::FileSource(QString fileName, QString subject, QObject *parent)
    : ListingSource(parent)
    , m_fileName(std::move(fileName))
    , m_subject(std::move(subject))
{
    if (m_subject.isEmpty())
        m_subject = m_fileName == QLatin1String("-")
                        ? tr("The listing on standard input")
                        : tr("The listing \u201C%1\u201D").arg(m_fileName);
    m_nextPiece.setSingleShot(true);
    connect(&m_nextPiece, &QTimer::timeout, this, &FileSource::readPiece);
}

void FileSource::start()
{
    const bool opened = m_fileName == QLatin1String("-")
                            ? m_file.open(stdin, QIODevice::ReadOnly)
                            : (m_file.setFileName(m_fileName), m_file.open(QIODevice::ReadOnly));
    // A failure to open is told on the next turn, as every other ending is.
    m_failed = !opened;
    m_nextPiece.start(0);
}

void FileSource::abort()
{
    m_nextPiece.stop();
    m_file.close();
}

void FileSource::readPiece()
{
    if (m_failed) {
        fail();
        return;
    }

    if (m_atStart) {
        m_atStart = false;
        if (const QFileInfo info(m_file); info.isFile()) {
            emit sizeKnown(info.size());
            if (!m_file.isOpen()) // aborted by a receiver
                return;
        }
    }
    m_piece.resize(pieceBytes);
    const qint64 size = m_file.read(m_piece.data(), pieceBytes);
    if (size < 0) {
        fail();
        return;
    }
    if (size > 0)
        emit bytesRead(QByteArrayView(m_piece).first(size));
    if (!m_file.isOpen()) // aborted by a receiver
        return;
    if (size == 0) {
        m_file.close();
        emit finished(std::nullopt, QString());
    } else {
        m_nextPiece.start(0);
    }
}

void FileSource::fail()
{
    const QString reason = m_file.errorString();
    m_file.close();
    emit finished(tr("%1 could not be read: %2.").arg(m_subject, reason), QString());
}
