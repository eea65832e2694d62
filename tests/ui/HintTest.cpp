#include "ui/Hint.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

void ExpectHint(const QString& hint, const QString& shortHint, const QString& longHint) {
    const Hint split = SplitHint(hint);
    EXPECT_EQ(split.shortHint, shortHint) << hint.toStdString();
    EXPECT_EQ(split.longHint, longHint) << hint.toStdString();
}

TEST(SplitHint, SplitsAtTheFirstBarAndServesATextWithoutOneAsBoth) {
    ExpectHint("Archivo|Crea un nuevo archivo", "Archivo", "Crea un nuevo archivo");
    ExpectHint("Salir del módulo ZOLK", "Salir del módulo ZOLK", "Salir del módulo ZOLK");
    ExpectHint("a|b|c", "a", "b|c");
    ExpectHint("|solo largo", "", "solo largo");
    ExpectHint("", "", "");
}

} // namespace
} // namespace orbeta
