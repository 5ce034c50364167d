#include "appex.h"

#include <QRandomGenerator>

#include <array>
#include <cstring>

namespace {

// A version 4 UUID from a generator of the thread's own, seeded from the
// system's entropy. QUuid::createUuid() asks the system on every call, and the
// process-wide generator takes a lock on every call: on a large listing both
// cost more than parsing it.
QUuid newRandomUuid()
{
    thread_local QRandomGenerator generator = QRandomGenerator::securelySeeded();
    std::array<quint32, 4> words;
    generator.fillRange(words.data(), words.size());
    std::array<char, 16> bytes;
    std::memcpy(bytes.data(), words.data(), bytes.size());
    bytes[6] = char((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = char((bytes[8] & 0x3f) | 0x80); // RFC 4122 variant
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), bytes.size()));
}

} // namespace

Appex::Appex()
    : m_id(newRandomUuid())
{}

QString Appex::copyText() const
{
    QString text;
    for (const QString *field : copyFields(*this)) {
        if (field != &name) // a tab before every field but the first
            text += u'\t';
        text += *field;
    }
    return text;
}
