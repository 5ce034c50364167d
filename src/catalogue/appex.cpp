#include "appex.h"

#include "extensionpoint.h"

namespace {

// In the order of AppexElection.
constexpr std::array<QByteArrayView, 6> electionNames = {"",      "use",        "ignore",
                                                         "debug", "superseded", "unknown"};

} // namespace

QByteArrayView Appex::otherBytes(AppexField field) const
{
    if (field == AppexField::Election)
        return electionNames[size_t(m_election)];
    return "[no SDK]";
}

QString Appex::text(AppexField field) const
{
    return QString::fromUtf8(bytes(field));
}

void Appex::setText(AppexField field, QStringView text)
{
    if (field == AppexField::Election)
        return;
    setOwnText(field, text.toUtf8());
    if (field == AppexField::SDK)
        m_hasSDK = true;
}

void Appex::setOwnText(AppexField field, QByteArrayView utf8)
{
    m_spans[size_t(field)] = {quint32(m_own.size()), quint32(utf8.size())};
    m_ownSpans |= quint16(1u << unsigned(field));
    m_own += utf8;
}

QString Appex::copyText() const
{
    QString text;
    for (const AppexField field : copyFields) {
        if (field != AppexField::Name) // a tab before every field but the first
            text += u'\t';
        text += this->text(field);
    }
    return text;
}

QString electionName(AppexElection election)
{
    return QString::fromLatin1(electionNames[size_t(election)]);
}

QString Appex::category() const
{
    return ExtensionPoint::category(bytes(AppexField::Point));
}

std::optional<bool> Appex::active() const
{
    return m_active < 0 ? std::nullopt : std::optional<bool>(m_active == 1);
}

void Appex::setActive(std::optional<bool> active)
{
    m_active = active ? qint8(*active) : qint8(-1);
}
