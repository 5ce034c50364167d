#pragma once

#include "copiesexplanation.h"

#include <QByteArray>

// `zephlist-cli --explain` written out: as lines for a person, or as one
// JSON object for a script.
namespace ExplanationFormat {

[[nodiscard]] QByteArray text(const CopiesExplanation &explanation);
[[nodiscard]] QByteArray json(const CopiesExplanation &explanation);

} // namespace ExplanationFormat
