#include "study/Numbers.h"
#include "study/Error.h"

#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace orbeta {
namespace {

using testing::ErrorOf;

TEST(ParseCount, ReadsDecimalWithBlanksAndSigns) {
    EXPECT_EQ(ParseCount("2"), 2);
    EXPECT_EQ(ParseCount("  10"), 10);
    EXPECT_EQ(ParseCount("+5"), 5);
    EXPECT_EQ(ParseCount("-3"), -3);
    EXPECT_EQ(ParseCount("007"), 7);
    EXPECT_EQ(ParseCount("2147483647"), 2147483647);
    EXPECT_EQ(ParseCount("-2147483648"), -2147483647 - 1);
}

TEST(ParseCount, ReadsEveryHexadecimalPrefixInEitherCase) {
    EXPECT_EQ(ParseCount("$A"), 10);
    EXPECT_EQ(ParseCount("xa"), 10);
    EXPECT_EQ(ParseCount("Xf"), 15);
    EXPECT_EQ(ParseCount("0x1F"), 31);
    EXPECT_EQ(ParseCount("0X1f"), 31);
    EXPECT_EQ(ParseCount(" $7FFFFFFF"), 2147483647);
}

TEST(ParseCount, RefusesWithTheTextInTheMessage) {
    for (const char* text :
         {"", " ", "a", "2 ", "2a", "+", "-", "$", "0x", "x", "-$5", "+0x5", "1.5", "2147483648",
          "-2147483649", "$80000000", "99999999999", "$G"}) {
        EXPECT_EQ(ErrorOf([&] { ParseCount(text); }),
                  "'" + std::string(text) + "' is not a valid integer value")
            << text;
    }
}

TEST(ParseResult, ReadsSignsFractionsAndExponents) {
    EXPECT_EQ(ParseResult("99.1", '.'), 99.1);
    EXPECT_EQ(ParseResult("  -2.5  ", '.'), -2.5);
    EXPECT_EQ(ParseResult("+7", '.'), 7.0);
    EXPECT_EQ(ParseResult("1.5E3", '.'), 1500.0);
    EXPECT_EQ(ParseResult("25e-1", '.'), 2.5);
    EXPECT_EQ(ParseResult("1e+2", '.'), 100.0);
    EXPECT_EQ(ParseResult(".5", '.'), 0.5);
    EXPECT_EQ(ParseResult("5.", '.'), 5.0);
    EXPECT_EQ(ParseResult(".", '.'), 0.0);
    EXPECT_EQ(ParseResult(" , ", ','), 0.0);
    EXPECT_EQ(ParseResult("1e-400", '.'), 0.0);
    EXPECT_EQ(ParseResult("1.7976931348623157e308", '.'), DBL_MAX);
}

TEST(ParseResult, UsesOnlyTheRegionalSeparator) {
    EXPECT_EQ(ParseResult("99,5", ','), 99.5);
    EXPECT_EQ(ErrorOf([] { ParseResult("99.5", ','); }),
              "'99.5' is not a valid floating point value");
    EXPECT_EQ(ErrorOf([] { ParseResult("1,5", '.'); }),
              "'1,5' is not a valid floating point value");
}

TEST(ParseResult, RefusesWithTheTextInTheMessage) {
    for (const char* text : {"", "  ", "abc", "1.000.5", "1,000.5", "+", "-", "1e", "1e+", "E5",
                             "1 2", "0x10", "inf", "nan", "1e400", "-1e309", "1..2", "--1"}) {
        EXPECT_EQ(ErrorOf([&] { ParseResult(text, '.'); }),
                  "'" + std::string(text) + "' is not a valid floating point value")
            << text;
    }
}

TEST(Conversions, QuoteAnUnreadableOrLongTextReadablyAndBounded) {
    using namespace std::string_literals;
    const std::string forty(40, 'm');
    const std::string thirtyNine(39, 'm');
    struct Case {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
        {"\t2", "?2"},
        {"7\0"s + "8", "7?8"},
        {"\177ELF\2\1\1\0"s, "?ELF????"},
        {"1\x1b[2J", "1?[2J"},
        {"5\u0085", "5?"},    // a C1 control character
        {"\xF3n\xC3", "?n?"}, // bytes that are not UTF-8
        {"trés", "trés"},     // an accented letter as it is
        {forty, forty},       // exactly the limit
        {forty + "9", forty + "…"},
        {thirtyNine + "€99", thirtyNine + "€…"},
        {thirtyNine + "😀", thirtyNine + "😀"},
        {thirtyNine + "\xC3", thirtyNine + "?"},
        {std::string(45, '\0'), std::string(40, '?') + "…"},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(ErrorOf([&] { ParseCount(row.text); }),
                  "'" + row.quoted + "' is not a valid integer value")
            << row.quoted;
        EXPECT_EQ(ErrorOf([&] { ParseResult(row.text, '.'); }),
                  "'" + row.quoted + "' is not a valid floating point value")
            << row.quoted;
    }
}

TEST(FormatResult, GivesTheDocumentedExamples) {
    EXPECT_EQ(FormatResult(1, '.'), "1");
    EXPECT_EQ(FormatResult(0.1725, '.'), "0.1725");
    EXPECT_EQ(FormatResult(2.5257732, '.'), "2.52577");
    EXPECT_EQ(FormatResult(0.00042614, '.'), "0.00042614");
    EXPECT_EQ(FormatResult(5.048177e-14, '.'), "5.04818E-14");
    EXPECT_EQ(FormatResult(1234567, '.'), "1.23457E6");
    EXPECT_EQ(FormatResult(98.50, '.'), "98.5");
    EXPECT_EQ(FormatResult(100.0, '.'), "100");
    EXPECT_EQ(FormatResult(99.123456, '.'), "99.1235");
    EXPECT_EQ(FormatResult(0.0000123, '.'), "1.23E-5");
    EXPECT_EQ(FormatResult(0, '.'), "0");
    EXPECT_EQ(FormatResult(-0.0, '.'), "0");
}

TEST(FormatResult, SwitchesNotationAtTheBoundaries) {
    EXPECT_EQ(FormatResult(0.0001, '.'), "0.0001");
    EXPECT_EQ(FormatResult(0.00009999, '.'), "9.999E-5");
    EXPECT_EQ(FormatResult(999999.4, '.'), "999999");
    EXPECT_EQ(FormatResult(999999.5, '.'), "1E6");
    EXPECT_EQ(FormatResult(1000000, '.'), "1E6");
    EXPECT_EQ(FormatResult(123456, '.'), "123456");
    EXPECT_EQ(FormatResult(1e100, '.'), "1E100");
    EXPECT_EQ(FormatResult(DBL_MAX, '.'), "1.79769E308");
}

TEST(FormatResult, RoundsTheExactValueWithTiesAwayFromZero) {
    EXPECT_EQ(FormatResult(1234565, '.'), "1.23457E6");
    EXPECT_EQ(FormatResult(100000.5, '.'), "100001");
    EXPECT_EQ(FormatResult(-100000.5, '.'), "-100001");
    // Stored values lie on one side of the decimal tie; the side decides, not the shortest text.
    EXPECT_EQ(FormatResult(0.1234565, '.'), "0.123456"); // just below
    EXPECT_EQ(FormatResult(2.000005, '.'), "2");         // just below
    EXPECT_EQ(FormatResult(1.000005, '.'), "1.00001");   // just above
    EXPECT_EQ(FormatResult(0.3333335, '.'), "0.333334"); // just above
    EXPECT_EQ(FormatResult(9.999995, '.'), "10");        // just above, carrying into a new digit
    EXPECT_EQ(FormatResult(12.34565, '.'), "12.3456");   // just below
}

TEST(FormatResult, WritesNegativesAndTheCommaSeparator) {
    EXPECT_EQ(FormatResult(-2.5257732, '.'), "-2.52577");
    EXPECT_EQ(FormatResult(-0.00042614, ','), "-0,00042614");
    EXPECT_EQ(FormatResult(99.6417, ','), "99,6417");
    EXPECT_EQ(FormatResult(-5.048177e-14, ','), "-5,04818E-14");
    EXPECT_EQ(FormatResult(-1234567, ','), "-1,23457E6");
}

TEST(FormatResult, ReadsBackThroughParseResult) {
    for (double value : {99.1, 0.000123456, 1.5e-20, -123456.0, 7e12}) {
        const std::string text = FormatResult(value, ',');
        EXPECT_EQ(FormatResult(ParseResult(text, ','), ','), text);
    }
}

TEST(FullStop, IsAddedOnlyAfterACharacterSortingAfterIt) {
    EXPECT_EQ(WithFullStop("Floating point division by zero"), "Floating point division by zero.");
    EXPECT_EQ(WithFullStop("'' is not a valid floating point value"),
              "'' is not a valid floating point value.");
    EXPECT_EQ(WithFullStop("Invalid numeric input."), "Invalid numeric input.");
    EXPECT_EQ(WithFullStop("I/O error 5 -"), "I/O error 5 -");
    EXPECT_EQ(WithFullStop("closing'"), "closing'");
    EXPECT_EQ(WithFullStop("ends/"), "ends/.");
    EXPECT_EQ(WithFullStop("acción"), "acción.");
    EXPECT_EQ(WithFullStop(""), "");
}

} // namespace
} // namespace orbeta
