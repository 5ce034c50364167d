#pragma once

#include "appex.h"

#include <QRandomGenerator>
#include <QStringList>

// Records of random text, to hold a fast path to its plain twin. The texts
// are made of few pieces, so that values repeat and differ only in letter
// case or normal form, and of those that fast paths treat apart: ASCII
// (about half the texts hold nothing else), control characters, quotation
// marks, backslashes, letters whose lower case is longer or non-ASCII, marks
// that combine with the letter before, and characters past U+FFFF.
namespace RandomRecords {

// `extraPieces` join the pieces of every text.
[[nodiscard]] QString text(QRandomGenerator &random, const QStringList &extraPieces = {});
// Every text field random, the SDK sometimes missing; the election, copies,
// activity and problems too.
[[nodiscard]] Appex record(QRandomGenerator &random, const QStringList &extraPieces = {});
[[nodiscard]] AppexList records(QRandomGenerator &random, qsizetype count,
                                const QStringList &extraPieces = {});

// A test's data rows, a seed in each, from 0 to `count` less one.
void addSeeds(int count);

} // namespace RandomRecords
