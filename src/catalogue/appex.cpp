#include "appex.h"

#include <QRandomGenerator>

#include <array>
#include <cstring>

namespace {

// A version 4 UUID from the process-wide generator. QUuid::createUuid() asks the
// system entropy source on every call, which costs a third of the time of
// parsing a large listing; the seeded generator gives distinct identities just
// as well.
QUuid newRandomUuid()
{
    std::array<quint32, 4> words;
    QRandomGenerator::global()->fillRange(words.data(), words.size());
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
    const QChar tab(u'\t');
    return name + tab + path + tab + parentName + tab + parentPath + tab + SDK + tab + uuid;
}
