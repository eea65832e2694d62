#include "files/Cp1252.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(Cp1252, SpanishLettersAndSignsRoundTrip) {
    const std::string text = "Valoración de ácido cítrico — lote Nº 5 € ñ Ü ¿¡";
    const auto bytes = Utf8ToCp1252(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, "Valoraci\xF3n de \xE1"
                      "cido c\xEDtrico \x97 lote N\xBA 5 \x80 \xF1 \xDC \xBF\xA1");
    EXPECT_EQ(Cp1252ToUtf8(*bytes), text);
}

TEST(Cp1252, EveryByteSurvivesALoadAndASave) {
    std::string allBytes;
    for (int value = 0; value < 256; ++value) {
        allBytes += static_cast<char>(value);
    }
    const auto saved = Utf8ToCp1252(Cp1252ToUtf8(allBytes));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, allBytes);
}

TEST(Cp1252, RefusesWhatTheCodePageCannotHold) {
    EXPECT_FALSE(Utf8ToCp1252("Ω").has_value());
    EXPECT_FALSE(Utf8ToCp1252("método 😀").has_value());
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());         // cut short
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF").has_value());     // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80").has_value()); // surrogate
    EXPECT_TRUE(Utf8ToCp1252("").has_value());
}

} // namespace
} // namespace orbeta
