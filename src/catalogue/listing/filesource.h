#pragma once

#include "listingsource.h"

#include <QFile>
#include <QTimer>

// A listing captured earlier, read from a file ("-" for standard input) a
// piece at a time, one piece per turn of the event loop, so that reading a
// large file never holds up the application.
class FileSource : public ListingSource
{
    Q_OBJECT

public:
    static constexpr qsizetype pieceBytes = 256 * 1024;

    // `subject` names the listing in failures; by default "The listing “name”".
    explicit FileSource(QString fileName, QString subject = {}, QObject *parent = nullptr);

    void start() override;
    void abort() override;
    [[nodiscard]] QString subject() const override { return m_subject; }
    [[nodiscard]] bool isCapture() const override { return true; }

private:
    void readPiece();
    void fail();

    QString m_fileName;
    QString m_subject;
    QFile m_file;
    QByteArray m_piece; // reused: fresh memory for every piece costs more than reading it
    QTimer m_nextPiece;
    bool m_failed = false; // to open
    bool m_atStart = true;
};
