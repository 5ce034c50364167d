#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <optional>

// Where the bytes of a listing come from: the listing tool, or a listing
// captured in a file. Reads asynchronously: bytesRead() as the bytes arrive,
// then finished() once.
class ListingSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void start() = 0;
    // Stops reading at once; nothing more is emitted.
    virtual void abort() = 0;

    // How a failure names the listing, opening a sentence: "The listing".
    [[nodiscard]] virtual QString subject() const { return tr("The listing"); }
    // Whether the listing was captured earlier and may have passed through
    // other systems: its lines may end in CR LF.
    [[nodiscard]] virtual bool isCapture() const { return false; }

signals:
    // The bytes are valid during the call only: connect directly.
    void bytesRead(QByteArrayView bytes);
    // How many bytes there are to read, told before any is read by a source
    // that knows: a file's size.
    void sizeKnown(qint64 bytes);
    // `failure` says why not every byte was read, if one was not; `detail`
    // may tell more (what the tool wrote to its standard error).
    void finished(const std::optional<QString> &failure, const QString &detail);
};
