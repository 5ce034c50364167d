#pragma once

#include <QPixmap>

// The search's symbol, drawn in `colour` at `size` logical pixels square: the
// no-results panel's large one, the search field's small one.
[[nodiscard]] QPixmap magnifyingGlass(const QColor &colour, int size, qreal devicePixelRatio);
