#pragma once

#include "appex.h"
#include "appexfield.h"

#include <QStringView>

#include <span>
#include <string>
#include <string_view>

// The search of the window and the CLI: a record matches when one of the
// fields in scope, lower-cased, contains the lower-cased query. Lower case is
// the locale-independent full mapping, and canonically equivalent texts count
// as equal. An empty query matches nothing.
class AppexSearch
{
public:
    enum class Scope { Uuid, AllFields };

    explicit AppexSearch(QStringView query, Scope scope = Scope::Uuid);

    [[nodiscard]] bool matches(const Appex &record) const;

    // The query lower-cased and normalised, as fields are compared with it.
    [[nodiscard]] std::string_view queryKey() const { return m_queryKey; }
    [[nodiscard]] Scope scope() const { return m_scope; }

private:
    [[nodiscard]] bool fieldMatches(QByteArrayView utf8) const;

    std::string m_queryKey;
    bool m_asciiQuery;
    Scope m_scope;
    std::span<const AppexField> m_fields;
};
