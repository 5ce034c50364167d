#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A small RTF reader for tests: reads plain text, \par, \tab, \uN with \ucN,
// \'hh, escaped symbols and the colour table, and skips other destinations.
// Independent of the encoder, so that a round trip checks what a word
// processor would see.
class RtfReader
{
public:
    struct Run
    {
        QString text;
        QString colour; // "#rrggbb", or "auto" for the reader's automatic colour
    };

    explicit RtfReader(const QByteArray &rtf);

    [[nodiscard]] QList<Run> runs() const { return m_runs; }
    [[nodiscard]] QString text() const;
    [[nodiscard]] bool wellFormed() const { return m_wellFormed; }

private:
    void append(QChar c, const QString &colour);

    QList<Run> m_runs;
    bool m_wellFormed = true;
};
