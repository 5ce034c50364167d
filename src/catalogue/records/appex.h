#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// The text fields of a record. The order is the storage's; the copy text's
// and the JSON's orders are their own (copyFields, appexFields).
enum class AppexField {
    SDK,
    Name,
    Path,
    ParentPath,
    ParentName,
    Uuid,
    Identifier,
    Version,
    Point,     // the extension point exactly as the tool prints it
    Timestamp, // when the copy was registered, as the tool prints it
    Election
};

// What may be wrong with a record, each a flag of AppexProblems.
enum class AppexProblem : quint8 {
    Duplicate = 0x01,   // its identifier is registered at more than one path
    Inactive = 0x02,    // a copy the system does not use
    Missing = 0x04,     // its bundle is not on this computer
    Development = 0x08, // it lies in a build folder, the Trash or a mounted volume
    Superseded = 0x10,
    Debug = 0x20,
    Unknown = 0x40,
    Incomplete = 0x80, // its entry in a captured listing is cut off
};
Q_DECLARE_FLAGS(AppexProblems, AppexProblem)
Q_DECLARE_OPERATORS_FOR_FLAGS(AppexProblems)

// What the user or the system elected for an extension, as the header line's
// tag says it.
enum class AppexElection : quint8 { None, Use, Ignore, Debug, Superseded, Unknown };

// One registered app extension, as the listing tool reports it.
//
// A plain value: copies are independent. The fields are UTF-8 text held as
// stretches of one buffer, which the records of a listing share with the
// listing's bytes: reading a listing makes no string per field. A QString is
// made only when one is asked for.
class Appex
{
public:
    Appex() = default;

    [[nodiscard]] QByteArrayView bytes(AppexField field) const;
    [[nodiscard]] QString text(AppexField field) const;
    // Sets a field to a text of its own, not shared with other records.
    void setText(AppexField field, QStringView text);

    [[nodiscard]] QString SDK() const { return text(AppexField::SDK); }
    [[nodiscard]] QString name() const { return text(AppexField::Name); }
    [[nodiscard]] QString path() const { return text(AppexField::Path); }
    [[nodiscard]] QString parentPath() const { return text(AppexField::ParentPath); }
    [[nodiscard]] QString parentName() const { return text(AppexField::ParentName); }
    [[nodiscard]] QString uuid() const { return text(AppexField::Uuid); }
    // From the block's header line, "+    com.example.Widget(1.2)"; empty
    // when the block has none.
    [[nodiscard]] QString identifier() const { return text(AppexField::Identifier); }
    [[nodiscard]] QString version() const { return text(AppexField::Version); }
    [[nodiscard]] QString point() const { return text(AppexField::Point); }
    [[nodiscard]] QString timestamp() const { return text(AppexField::Timestamp); }
    [[nodiscard]] AppexElection election() const { return m_election; }
    void setElection(AppexElection election) { m_election = election; }

    // A friendly name for the extension point: "Finder", "Quick Look"; the
    // point itself when it has none.
    [[nodiscard]] QString category() const;

    // What the listing as a whole tells of the record: how many records hold
    // its identifier, whether it is the copy the system uses (unknown unless
    // the listing holds every copy), and what may be wrong with it.
    [[nodiscard]] int copies() const { return m_copies; }
    [[nodiscard]] std::optional<bool> active() const;
    [[nodiscard]] AppexProblems problems() const { return AppexProblems::fromInt(m_problems); }
    void setCopies(int copies) { m_copies = copies; }
    void setActive(std::optional<bool> active);
    void setProblems(AppexProblems problems) { m_problems = quint8(problems.toInt()); }

    // The record's clipboard form: six fields joined by tabs, no line ending.
    [[nodiscard]] QString copyText() const;

private:
    friend class ListingParser;

    // Where a field's text lies in m_text.
    struct Span
    {
        quint32 offset = 0;
        quint32 size = 0;
    };
    static constexpr size_t storedFields = 10; // all but the election

    // Copies the texts of the fields, stretches of `texts` unless the record
    // has a buffer of its own already, to a new buffer of its own, with
    // `field` set to `utf8`.
    void setOwnText(AppexField field, QByteArrayView utf8, QByteArrayView texts);
    // The bytes of the election, or of a missing SDK.
    [[nodiscard]] QByteArrayView otherBytes(AppexField field) const;

    QByteArray m_text; // the listing's, or the record's own
    std::array<Span, storedFields> m_spans{};
    // Packed into eight bytes: the smaller a record, the faster a sort moves it.
    bool m_ownsText : 1 = false;
    bool m_hasSDK : 1 = false; // without one, the SDK reads as "[no SDK]"
    AppexElection m_election = AppexElection::None;
    qint8 m_active = -1;   // 0 or 1 when known
    quint8 m_problems = 0; // of AppexProblems, whose flags are stored in an int
    int m_copies = 1;
};

Q_DECLARE_TYPEINFO(Appex, Q_RELOCATABLE_TYPE);

using AppexList = QList<Appex>;

// Inline: writing and sorting a large catalogue ask for millions of fields.
inline QByteArrayView Appex::bytes(AppexField field) const
{
    if (field == AppexField::Election || (field == AppexField::SDK && !m_hasSDK)) [[unlikely]]
        return otherBytes(field);
    const Span span = m_spans[size_t(field)];
    return QByteArrayView(m_text.constData() + span.offset, span.size);
}

// Set before a parent application's name, in the report and in the rows:
// the family emoji of one adult and one child, then a space.
inline const QString parentMarker = QStringLiteral("\U0001F9D1\u200D\U0001F9D2 ");
