#pragma once

#include <QString>

namespace orbeta {

// A hint is stored as one text: the part before the first vertical bar is the short hint, a
// button's tooltip; the part after it the long hint, shown in the status line. A text without
// a bar is both.
struct Hint {
    QString shortHint;
    QString longHint;
};

Hint SplitHint(const QString& hint);

} // namespace orbeta
