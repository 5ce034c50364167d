#pragma once

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QUuid>

// A listing of `entries` entries: the stand-in's sample repeated, each entry
// with a fresh UUID, as a listing of a very large machine would look.
inline QByteArray repeatedSample(int entries)
{
    QFile file(QStringLiteral(ZEPHLIST_SAMPLE_LISTING));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the sample listing");
    const QStringList sample =
        QString::fromUtf8(file.readAll()).trimmed().split(QStringLiteral("\n\n"));
    QRandomGenerator random{quint32(entries)};
    QByteArray listing;
    for (int i = 0; i < entries; ++i) {
        QString entry = sample[i % sample.size()];
        const qsizetype uuid = entry.indexOf(u"UUID = ") + 7;
        quint32 words[4];
        random.fillRange(words);
        const QUuid fresh = QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<char *>(words), 16));
        entry.replace(uuid, 36, fresh.toString(QUuid::WithoutBraces).toUpper());
        listing += entry.toUtf8() + "\n\n";
    }
    return listing;
}
