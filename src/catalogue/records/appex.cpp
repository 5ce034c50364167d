#include "appex.h"

#include "appexelection.h"
#include "appexfield.h"
#include "extensionpoint.h"

QByteArrayView Appex::otherBytes(AppexField field) const
{
    if (field == AppexField::Election)
        return QByteArrayView(electionInfo(m_election).name);
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
    setOwnText(field, text.toUtf8(), m_text);
    if (field == AppexField::SDK)
        m_hasSDK = true;
}

void Appex::setOwnText(AppexField field, QByteArrayView utf8, QByteArrayView texts)
{
    if (m_ownsText)
        texts = m_text;
    QByteArray own;
    std::array<Span, storedFields> spans;
    for (size_t stored = 0; stored < storedFields; ++stored) {
        const QByteArrayView bytes =
            stored == size_t(field) ? utf8
                                    : texts.sliced(m_spans[stored].offset, m_spans[stored].size);
        spans[stored] = {quint32(own.size()), quint32(bytes.size())};
        own += bytes;
    }
    m_text = std::move(own);
    m_spans = spans;
    m_ownsText = true;
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
