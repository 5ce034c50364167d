#pragma once

#include "copiesexplanation.h"

#include <QByteArray>

// `zephlist-cli --explain` written out: as lines for a person, or as one
// JSON object for a script; and its words for a copy, which the window's
// details use too.
namespace ExplanationFormat {

// "In use", "Not used", or "Listed" when the listing does not tell; the
// copy the system would use of an extension the user switched off is
// "Disabled", since the system then uses none.
[[nodiscard]] QString useText(const CopiesExplanation::Copy &copy);
// Why a copy is not the one in use, or what is odd about it: "development
// build", "in the Trash", "on a disk image", "missing from disk", "an older
// version".
[[nodiscard]] QStringList reasons(const CopiesExplanation::Copy &copy);

[[nodiscard]] QByteArray text(const CopiesExplanation &explanation);
[[nodiscard]] QByteArray json(const CopiesExplanation &explanation);

} // namespace ExplanationFormat
