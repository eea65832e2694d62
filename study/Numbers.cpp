#include "study/Numbers.h"

#include "study/Error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace orbeta {

namespace {

// A number text taken apart by the one shape both results and study files write numbers in: an
// optional "+" or "-", digits, optionally the decimal separator and digits, optionally an
// exponent ("E" or "e", an optional sign, at least one digit). Digits may be missing on either
// side of the separator, or altogether; each reader says which of those it accepts.
struct NumberText {
    bool negative = false;
    std::string_view integerDigits;
    bool hasSeparator = false;
    std::string_view fractionDigits;
    bool hasExponent = false;
    long long exponent = 0; // saturated far beyond the range of a double
    // The digits on both sides as a whole number, gathered while scanning; meaningful only for
    // at most kWholeDigits of them.
    std::uint64_t whole = 0;
};

// The most digits a whole number of 64 bits holds whatever they are.
constexpr std::size_t kWholeDigits = 18;

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

[[noreturn]] void ThrowInvalidInteger(std::string_view text) {
    throw Error("'" + QuotedInMessage(text) + "' is not a valid integer value");
}

[[noreturn]] void ThrowInvalidFloat(std::string_view text) {
    throw Error("'" + QuotedInMessage(text) + "' is not a valid floating point value");
}

// Where a run of decimal digits from `position` ends, each digit gathered into `whole` (which
// wraps past kWholeDigits, where it is not used).
const char* SkipDigits(const char* position, const char* end, std::uint64_t& whole) {
    // Gathered in a local: the bytes read may alias `whole`, which would then go through memory.
    std::uint64_t gathered = whole;
    while (position < end && IsDecimalDigit(*position)) {
        gathered = gathered * 10 + static_cast<std::uint64_t>(*position - '0');
        ++position;
    }
    whole = gathered;
    return position;
}

std::string_view Between(const char* first, const char* last) {
    return {first, static_cast<std::size_t>(last - first)};
}

// A whole number of at most 15 digits, as a double exactly.
constexpr std::uint64_t kExactWhole = 999'999'999'999'999;

constexpr std::array<double, 23> kExactPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// digits x 10^exponent, for digits of at most kExactWhole and an exponent from -22 to 22: both
// are exact doubles, so one multiplication or division rounds correctly.
double ScaledExactly(std::uint64_t digits, bool negative, long long exponent) {
    const double whole = static_cast<double>(digits);
    const double magnitude = exponent < 0
                                 ? whole / kExactPowersOfTen[static_cast<std::size_t>(-exponent)]
                                 : whole * kExactPowersOfTen[static_cast<std::size_t>(exponent)];
    return negative ? -magnitude : magnitude;
}

// That product when the digits and the exponent allow it.
std::optional<double> ExactlyScaled(std::uint64_t digits, bool negative, long long exponent) {
    if (digits > kExactWhole || exponent < -22 || exponent > 22) {
        return std::nullopt;
    }
    return ScaledExactly(digits, negative, exponent);
}

// The digits of a number as a whole number, when there are at most 18 of them.
std::optional<std::uint64_t> WholeDigits(const NumberText& number) {
    if (number.integerDigits.size() + number.fractionDigits.size() > kWholeDigits) {
        return std::nullopt;
    }
    return number.whole;
}

// The value when it takes that path; typical results do.
std::optional<double> ExactlyConverted(const NumberText& number) {
    const auto digits = WholeDigits(number);
    if (!digits) {
        return std::nullopt;
    }
    return ExactlyScaled(*digits, number.negative,
                         number.exponent - static_cast<long long>(number.fractionDigits.size()));
}

// The value of any other decimal, by the standard conversion; nothing when it overflows.
std::optional<double> ConvertedInFull(const NumberText& number) {
    const bool allZero = number.integerDigits.find_first_not_of('0') == std::string_view::npos &&
                         number.fractionDigits.find_first_not_of('0') == std::string_view::npos;
    if (allZero) {
        return number.negative ? -0.0 : 0.0;
    }
    std::string normalized;
    normalized.reserve(number.integerDigits.size() + number.fractionDigits.size() + 16);
    if (number.negative) {
        normalized += '-';
    }
    normalized += number.integerDigits.empty() ? std::string_view("0") : number.integerDigits;
    normalized += '.';
    normalized += number.fractionDigits.empty() ? std::string_view("0") : number.fractionDigits;
    normalized += 'e';
    normalized += std::to_string(number.exponent);
    double value = 0.0;
    const auto status =
        std::from_chars(normalized.data(), normalized.data() + normalized.size(), value).ec;
    if (status == std::errc::result_out_of_range) {
        // Out of range one way or the other: the position of the first significant digit
        // tells an overflow from a value too small to hold, which reads as zero.
        const auto firstInteger = number.integerDigits.find_first_not_of('0');
        const long long magnitudeExponent =
            firstInteger != std::string_view::npos
                ? number.exponent +
                      static_cast<long long>(number.integerDigits.size() - firstInteger)
                : number.exponent -
                      static_cast<long long>(number.fractionDigits.find_first_not_of('0'));
        if (magnitudeExponent > 0) {
            return std::nullopt;
        }
        return number.negative ? -0.0 : 0.0;
    }
    if (status != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The text taken apart, or nothing when it is not of that shape from its first byte to its last.
std::optional<NumberText> ScanNumber(std::string_view text, char decimalSeparator) {
    const char* position = text.data();
    const char* const end = position + text.size();
    NumberText number;
    if (position < end && (*position == '+' || *position == '-')) {
        number.negative = *position == '-';
        ++position;
    }
    const char* const integerStart = position;
    position = SkipDigits(position, end, number.whole);
    number.integerDigits = Between(integerStart, position);
    if (position < end && *position == decimalSeparator) {
        number.hasSeparator = true;
        const char* const fractionStart = ++position;
        position = SkipDigits(position, end, number.whole);
        number.fractionDigits = Between(fractionStart, position);
    }
    if (position < end && (*position == 'E' || *position == 'e')) {
        number.hasExponent = true;
        ++position;
        const bool negativeExponent = position < end && *position == '-';
        if (position < end && (*position == '+' || *position == '-')) {
            ++position;
        }
        const char* const exponentStart = position;
        for (; position < end && IsDecimalDigit(*position); ++position) {
            if (number.exponent < 1'000'000'000) {
                number.exponent = number.exponent * 10 + (*position - '0');
            }
        }
        if (position == exponentStart) {
            return std::nullopt;
        }
        number.exponent = negativeExponent ? -number.exponent : number.exponent;
    }
    if (position != end) {
        return std::nullopt;
    }
    return number;
}

// The double nearest to a scanned number (a number without digits is 0, keeping its sign);
// nothing when it lies beyond the range of a double.
std::optional<double> ValueOf(const NumberText& number) {
    if (const auto exact = ExactlyConverted(number)) {
        return exact;
    }
    return ConvertedInFull(number);
}

} // namespace

std::int32_t ParseCount(std::string_view text) {
    std::string_view rest = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    int base = 10;
    bool negative = false;
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        rest.remove_prefix(2);
    } else if (!rest.empty() &&
               (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
        base = 16;
        rest.remove_prefix(1);
    } else if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) {
        ThrowInvalidInteger(text);
    }
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    std::uint64_t magnitude = 0;
    for (char c : rest) {
        const int digit = base == 16 ? HexDigitValue(c) : (IsDecimalDigit(c) ? c - '0' : -1);
        if (digit < 0) {
            ThrowInvalidInteger(text);
        }
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) {
            ThrowInvalidInteger(text);
        }
    }
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

namespace {

// A result text taken apart, blanks around it dropped; nothing when it is not a result.
std::optional<NumberText> ScanResult(std::string_view text, char decimalSeparator) {
    std::string_view trimmed = text;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(' '), trimmed.size()));
    trimmed.remove_suffix(trimmed.size() - (trimmed.find_last_not_of(' ') + 1));
    auto number = ScanNumber(trimmed, decimalSeparator);
    // A result needs digits before the separator, or the separator itself.
    if (number && (!number->integerDigits.empty() || number->hasSeparator)) {
        return number;
    }
    return std::nullopt;
}

// A decimal as a whole number of `digits` times ten to `exponent`.
struct ScaledDecimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

ScaledDecimal ScaledOf(const NumberText& number) {
    return {number.negative, std::string(number.integerDigits) + std::string(number.fractionDigits),
            number.exponent - static_cast<long long>(number.fractionDigits.size())};
}

// The digits of a whole number given `zeros` more trailing zeros, padded in front to `width`.
std::string Aligned(const ScaledDecimal& number, long long zeros, std::size_t width) {
    std::string digits = number.digits + std::string(static_cast<std::size_t>(zeros), '0');
    return std::string(width - digits.size(), '0') + digits;
}

// |a| - |b| or |a| + |b| of digit strings of equal width, |a| >= |b| for the difference.
std::string Combined(const std::string& a, const std::string& b, bool subtract) {
    std::string result(a.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        int digit = (a[i] - '0') + (subtract ? -(b[i] - '0') : (b[i] - '0')) + carry;
        carry = digit < 0 ? -1 : digit / 10;
        digit = digit < 0 ? digit + 10 : digit % 10;
        result[i + 1] = static_cast<char>('0' + digit);
    }
    result[0] = static_cast<char>('0' + carry);
    return result;
}

// value - reference in whole numbers when both fit beside each other in 18 digits and their
// difference is exact as a double: the path of typical results.
std::optional<double> SmallDifference(const NumberText& value, const NumberText& reference) {
    const long long valueExponent =
        value.exponent - static_cast<long long>(value.fractionDigits.size());
    const long long referenceExponent =
        reference.exponent - static_cast<long long>(reference.fractionDigits.size());
    const long long exponent = std::min(valueExponent, referenceExponent);
    const auto a = WholeDigits(value);
    const auto b = WholeDigits(reference);
    constexpr long long kShift = 18;
    if (!a || !b) {
        return std::nullopt;
    }
    // Each aligned whole number stays below 10^18 only when its digits and its shift allow it.
    auto aligned = [exponent](std::uint64_t digits, long long ownExponent,
                              std::size_t count) -> std::optional<std::int64_t> {
        if (static_cast<long long>(count) + ownExponent - exponent > kShift) {
            return std::nullopt;
        }
        for (long long shift = ownExponent - exponent; shift > 0; --shift) {
            digits *= 10;
        }
        return static_cast<std::int64_t>(digits);
    };
    const auto x =
        aligned(*a, valueExponent, value.integerDigits.size() + value.fractionDigits.size());
    const auto y = aligned(*b, referenceExponent,
                           reference.integerDigits.size() + reference.fractionDigits.size());
    if (!x || !y) {
        return std::nullopt;
    }
    const std::int64_t difference = (value.negative ? -*x : *x) - (reference.negative ? -*y : *y);
    return ExactlyScaled(static_cast<std::uint64_t>(difference < 0 ? -difference : difference),
                         difference < 0, exponent);
}

} // namespace

double ParseResult(std::string_view text, char decimalSeparator) {
    if (const auto number = ScanResult(text, decimalSeparator)) {
        if (const auto value = ValueOf(*number)) {
            return *value;
        }
    }
    ThrowInvalidFloat(text);
}

double ResultDifference(std::string_view value, std::string_view reference, char decimalSeparator) {
    const auto scannedValue = ScanResult(value, decimalSeparator);
    const auto scannedReference = ScanResult(reference, decimalSeparator);
    if (scannedValue && scannedReference) {
        if (const auto difference = SmallDifference(*scannedValue, *scannedReference)) {
            return *difference;
        }
    }
    const double approximate =
        ParseResult(value, decimalSeparator) - ParseResult(reference, decimalSeparator);
    const ScaledDecimal a = ScaledOf(*scannedValue);
    const ScaledDecimal b = ScaledOf(*scannedReference);
    // Exponents this far apart belong to results of such different size that the double
    // difference is already the nearest one; aligning them would take thousands of digits.
    constexpr long long kWidestAlignment = 800;
    const long long exponent = std::min(a.exponent, b.exponent);
    if (std::max(a.exponent, b.exponent) - exponent > kWidestAlignment) {
        return approximate;
    }
    const std::size_t width =
        std::max(a.digits.size() + static_cast<std::size_t>(a.exponent - exponent),
                 b.digits.size() + static_cast<std::size_t>(b.exponent - exponent));
    const std::string da = Aligned(a, a.exponent - exponent, width);
    const std::string db = Aligned(b, b.exponent - exponent, width);
    // value - reference = a + (-b).
    const bool bNegative = !b.negative;
    std::string digits;
    bool negative = a.negative;
    if (a.negative == bNegative) {
        digits = Combined(da, db, false);
    } else if (da >= db) {
        digits = Combined(da, db, true);
    } else {
        digits = Combined(db, da, true);
        negative = bNegative;
    }
    const std::string text = (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
    double difference = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), difference);
    return failure == std::errc() && end == text.data() + text.size() ? difference : approximate;
}

namespace {

constexpr std::size_t kSignificantDigits = 6;

// Whether the exact binary value of a positive double reaches the tie at its seventh
// significant digit. Only asked when the shortest representation is a seven-digit number
// ending in 5, so the exact expansion's seventh digit is 5 (at or above the tie) or 4 (below).
bool ExactValueReachesTie(double magnitude) {
    // A double's exact decimal expansion has at most 767 significant digits.
    std::array<char, 800> exact{};
    std::to_chars(exact.data(), exact.data() + exact.size(), magnitude,
                  std::chars_format::scientific, 770);
    // Layout "d.dddddd...": the seventh significant digit stands at index 7.
    return exact[7] >= '5';
}

// A positive value rounded to six significant digits: the digits without trailing zeros, and
// the position of the decimal point, the value being 0.ddd x 10^pointPosition.
struct RoundedDecimal {
    std::array<char, 17> digits{};
    std::size_t count = 0;
    int pointPosition = 0;
};

RoundedDecimal RoundedToSignificantDigits(double magnitude) {
    // The shortest text that reads back as the value: "d[.ddd]e[+-]xx". Rounding it gives the
    // rounding of the exact value, except right at a tie, which is looked at separately.
    std::array<char, 32> shortest{};
    const char* const end = std::to_chars(shortest.data(), shortest.data() + shortest.size(),
                                          magnitude, std::chars_format::scientific)
                                .ptr;
    RoundedDecimal rounded;
    const char* position = shortest.data();
    for (; *position != 'e'; ++position) {
        if (*position != '.') {
            rounded.digits[rounded.count++] = *position;
        }
    }
    ++position;
    int exponent = 0;
    std::from_chars(position + (*position == '+' ? 1 : 0), end, exponent);
    rounded.pointPosition = exponent + 1;

    if (rounded.count > kSignificantDigits) {
        const bool nearTie =
            rounded.count == kSignificantDigits + 1 && rounded.digits[kSignificantDigits] == '5';
        const bool roundUp =
            nearTie ? ExactValueReachesTie(magnitude) : rounded.digits[kSignificantDigits] >= '5';
        rounded.count = kSignificantDigits;
        if (roundUp) {
            std::size_t index = kSignificantDigits;
            while (index > 0 && rounded.digits[index - 1] == '9') {
                rounded.digits[--index] = '0';
            }
            if (index == 0) {
                // 999999.5 and the like carry into a new leading digit.
                rounded.digits[0] = '1';
                ++rounded.pointPosition;
            } else {
                ++rounded.digits[index - 1];
            }
        }
    }
    while (rounded.count > 1 && rounded.digits[rounded.count - 1] == '0') {
        --rounded.count;
    }
    return rounded;
}

} // namespace

namespace {

// The text of a positive value's rounded digits, with its sign, in FormatResult's layout.
void LayOut(const RoundedDecimal& rounded, bool negative, char decimalSeparator,
            std::string& laidOut) {
    const std::string_view digits(rounded.digits.data(), rounded.count);
    const int digitCount = static_cast<int>(rounded.count);
    const int pointPosition = rounded.pointPosition;

    // At most "-d.dddddE-308": built in place, and short enough to need no allocation.
    std::array<char, 24> text{};
    char* out = text.data();
    auto append = [&out](std::string_view part) { out = std::copy(part.begin(), part.end(), out); };
    auto appendZeros = [&out](int count) { out = std::fill_n(out, std::max(count, 0), '0'); };
    if (negative) {
        *out++ = '-';
    }
    if (pointPosition >= -3 && pointPosition <= 6) {
        if (pointPosition <= 0) {
            *out++ = '0';
            *out++ = decimalSeparator;
            appendZeros(-pointPosition);
            append(digits);
        } else if (digitCount <= pointPosition) {
            append(digits);
            appendZeros(pointPosition - digitCount);
        } else {
            append(digits.substr(0, static_cast<std::size_t>(pointPosition)));
            *out++ = decimalSeparator;
            append(digits.substr(static_cast<std::size_t>(pointPosition)));
        }
    } else {
        *out++ = digits.front();
        if (digitCount > 1) {
            *out++ = decimalSeparator;
            append(digits.substr(1));
        }
        *out++ = 'E';
        out = std::to_chars(out, text.data() + text.size(), pointPosition - 1).ptr;
    }
    laidOut.assign(text.data(), out);
}

// Whether LayOut gives a number of at most six significant digits, other than zero, as it is
// written: fixed notation without "+", leading zeros other than the one before a point, or
// trailing zeros after the point, and a point within the six digits before it or the three
// zeros after it that the layout allows. Typical results are written so, and keep their text
// without being laid out again.
bool IsLaidOutAsWritten(const NumberText& number) {
    const std::string_view integer = number.integerDigits;
    const std::string_view fraction = number.fractionDigits;
    if (number.hasExponent || integer.empty() ||
        (number.hasSeparator && (fraction.empty() || fraction.back() == '0'))) {
        return false;
    }
    constexpr std::size_t kFixedIntegerDigits = 6;
    constexpr std::size_t kFixedLeadingZeros = 3;
    if (integer == "0") {
        return number.hasSeparator && fraction.find_first_not_of('0') <= kFixedLeadingZeros;
    }
    return integer.front() != '0' && integer.size() <= kFixedIntegerDigits;
}

// The shown text and value of a number that takes the exact path of ValueOf, found from its
// digits. Such a number and the value nearest to it have the same shortest text (no two
// decimals of at most 15 digits share a double in that range), so FormatResult keeps a number
// of at most six significant digits and reads back as it; one of more digits it rounds to
// another decimal of at most 15 digits, which reads back as another value.
std::optional<double> ExactlyLoaded(std::string_view text, const NumberText& number,
                                    std::string& shownText) {
    const auto whole = WholeDigits(number);
    if (!whole) {
        return std::nullopt;
    }
    if (*whole == 0) {
        shownText = "0";
        return 0.0;
    }
    const long long exponent =
        number.exponent - static_cast<long long>(number.fractionDigits.size());
    const auto value = ExactlyScaled(*whole, number.negative, exponent);
    if (!value) {
        return std::nullopt;
    }
    std::uint64_t significant = *whole;
    int trailingZeros = 0;
    while (significant % 10 == 0) {
        significant /= 10;
        ++trailingZeros;
    }
    constexpr std::uint64_t kSixDigits = 1'000'000;
    if (significant >= kSixDigits || (text.front() != '+' && IsLaidOutAsWritten(number))) {
        shownText = text;
        return value;
    }
    RoundedDecimal rounded;
    const char* const end =
        std::to_chars(rounded.digits.data(), rounded.digits.data() + rounded.digits.size(),
                      significant)
            .ptr;
    rounded.count = static_cast<std::size_t>(end - rounded.digits.data());
    rounded.pointPosition =
        static_cast<int>(exponent) + trailingZeros + static_cast<int>(rounded.count);
    LayOut(rounded, number.negative, '.', shownText);
    return value;
}

} // namespace

std::string FormatResult(double value, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0.0) {
        return "0";
    }
    std::string text;
    LayOut(RoundedToSignificantDigits(std::fabs(value)), value < 0, decimalSeparator, text);
    return text;
}

std::optional<double> LoadResult(std::string_view text, std::string& shownText) {
    const auto number = ScanNumber(text, '.');
    if (!number) {
        return std::nullopt;
    }
    if (const auto exact = ExactlyLoaded(text, *number, shownText)) {
        return exact;
    }
    const auto value = ConvertedInFull(*number);
    if (!value) {
        return std::nullopt;
    }
    std::string formatted = FormatResult(*value, '.');
    const double readBack = ParseResult(formatted, '.');
    if (readBack == *value) {
        shownText = std::move(formatted);
        return readBack;
    }
    shownText = text;
    return value;
}

namespace {

// The value of a text of at most 15 digits with at most one point among them and an optional "-"
// before, the shape of nearly every result, found in one pass; NaN for any other text.
double PlainDecimalValue(std::string_view text) {
    constexpr std::size_t kExactDigits = 15;
    const char* position = text.data();
    const char* const end = position + text.size();
    const bool negative = position < end && *position == '-';
    position += negative ? 1 : 0;
    const char* point = nullptr;
    std::uint64_t whole = 0;
    std::size_t digitCount = 0;
    for (; position < end; ++position) {
        if (IsDecimalDigit(*position)) {
            whole = whole * 10 + static_cast<std::uint64_t>(*position - '0');
            ++digitCount;
        } else if (*position == '.' && point == nullptr) {
            point = position;
        } else {
            return std::numeric_limits<double>::quiet_NaN();
        }
    }
    if (digitCount == 0 || digitCount > kExactDigits) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return ScaledExactly(whole, negative, point == nullptr ? 0 : point + 1 - end);
}

} // namespace

std::optional<double> LoadResultValue(std::string_view text) {
    if (const double plain = PlainDecimalValue(text); plain != 0.0 && !std::isnan(plain)) {
        return plain;
    }
    const auto number = ScanNumber(text, '.');
    if (!number) {
        return std::nullopt;
    }
    const auto value = ValueOf(*number);
    // A zero's shown text is "0", which reads back without the sign.
    return value && *value == 0.0 ? std::optional<double>(0.0) : value;
}

char EnvironmentDecimalSeparator() {
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && std::strlen(point) == 1 ? point[0] : '.';
}

} // namespace orbeta
