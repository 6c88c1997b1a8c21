#include "toolkit/core/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace tk {

std::int64_t Asc(std::string_view text) {
    if (text.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(text[0]);
    int extra = 0;
    std::int64_t cp = 0;
    if (b0 < 0x80) return b0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        return b0;
    }
    if (text.size() < static_cast<std::size_t>(extra) + 1) return b0;
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) return b0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return cp;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks and characters that show nothing: the Unicode categories Zs, Zl, Zp
// (spaces and separators, the no-break space among them), Cf (format
// characters: zero-width spaces and joiners, direction marks, the byte order
// mark) and Cc (control characters), as of Unicode 15. Text copied from web
// pages and documents often carries them around a number, out of sight.
bool IsInvisible(char32_t c) {
    static constexpr std::array<std::pair<char32_t, char32_t>, 25> kRanges{{
        {0x0, 0x20},        {0x7F, 0xA0},       {0xAD, 0xAD},       {0x600, 0x605},
        {0x61C, 0x61C},     {0x6DD, 0x6DD},     {0x70F, 0x70F},     {0x890, 0x891},
        {0x8E2, 0x8E2},     {0x1680, 0x1680},   {0x180E, 0x180E},   {0x2000, 0x200F},
        {0x2028, 0x202F},   {0x205F, 0x2064},   {0x2066, 0x206F},   {0x3000, 0x3000},
        {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    }};
    return std::any_of(kRanges.begin(), kRanges.end(),
                       [c](const auto& r) { return c >= r.first && c <= r.second; });
}

// The length of the well-formed UTF-8 sequence at the start of `text` and its
// code point, or a length of 0 when it is malformed.
std::pair<std::size_t, char32_t> Decode(std::string_view text) {
    const std::int64_t cp = Asc(text);
    const auto b0 = static_cast<unsigned char>(text[0]);
    const std::size_t len = b0 < 0x80 ? 1 : b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : 2;
    static constexpr std::int64_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    // Asc gives a malformed sequence its first byte's value; an overlong form
    // or a surrogate is no character either.
    const bool malformed = (b0 >= 0x80 && cp == b0) || cp < kLeast[len] || cp > 0x10FFFF ||
                           (cp >= 0xD800 && cp <= 0xDFFF);
    if (malformed) return {0, 0};
    return {len, static_cast<char32_t>(cp)};
}

}  // namespace

std::string_view TrimInvisible(std::string_view text) {
    while (!text.empty()) {
        const auto [len, cp] = Decode(text);
        if (len == 0 || !IsInvisible(cp)) break;
        text.remove_prefix(len);
    }
    while (!text.empty()) {
        // Step back over continuation bytes to the start of the last character.
        std::size_t start = text.size() - 1;
        while (start > 0 && text.size() - start < 4 &&
               (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        const auto [len, cp] = Decode(text.substr(start));
        if (len != text.size() - start || !IsInvisible(cp)) break;
        text.remove_suffix(len);
    }
    return text;
}

namespace {

// Exponents saturate here, far beyond any double's range, whatever the digits.
constexpr long long kExponentCap = 1'000'000'000'000'000LL;

// An optional sign at `at`; true for a minus.
bool ReadSign(std::string_view text, std::size_t& at) {
    if (at == text.size() || (text[at] != '+' && text[at] != '-')) return false;
    return text[at++] == '-';
}

// Digits with at most one decimal point, from `at` on.
struct Mantissa {
    std::size_t digits = 0;
    // The decimal exponent of the first non-zero digit: 0 for "5", 2 for
    // "500", -1 for ".5". None when every digit is zero.
    std::optional<long long> leadingExponent;
};

Mantissa ReadMantissa(std::string_view text, std::size_t& at) {
    Mantissa m;
    long long intDigits = 0;
    long long fracDigits = 0;
    bool point = false;
    std::optional<long long> firstNonZeroIntIndex;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(c)) break;
        ++m.digits;
        if (point)
            ++fracDigits;
        else
            ++intDigits;
        if (c == '0' || m.leadingExponent || firstNonZeroIntIndex) continue;
        if (point)
            m.leadingExponent = -fracDigits;
        else
            firstNonZeroIntIndex = intDigits - 1;
    }
    if (firstNonZeroIntIndex) m.leadingExponent = intDigits - 1 - *firstNonZeroIntIndex;
    return m;
}

// An optional exponent from `at` on: "e" or "E", an optional sign and digits.
// False when an "e" has no digits after it.
bool ReadExponent(std::string_view text, std::size_t& at, long long& exponent) {
    exponent = 0;
    if (at == text.size() || (text[at] != 'e' && text[at] != 'E')) return true;
    ++at;
    const bool negative = ReadSign(text, at);
    if (at == text.size() || !IsDigit(text[at])) return false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        exponent = std::min(exponent * 10 + (text[at] - '0'), kExponentCap);
    }
    if (negative) exponent = -exponent;
    return true;
}

}  // namespace

double Val(std::string_view whole) {
    constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
    const std::string_view text = TrimInvisible(whole);
    std::size_t at = 0;
    const bool negative = ReadSign(text, at);
    const std::size_t start = at;
    const Mantissa mantissa = ReadMantissa(text, at);
    long long exponent = 0;
    if (mantissa.digits == 0 || !ReadExponent(text, at, exponent) || at != text.size()) {
        return kNotANumber;  // no number, or something after it
    }
    if (!mantissa.leadingExponent) return negative ? -0.0 : 0.0;

    double value = 0.0;
    const auto result =
        std::from_chars(text.data() + start, text.data() + at, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the decimal magnitude.
        value = *mantissa.leadingExponent + exponent >= 0 ? std::numeric_limits<double>::infinity()
                                                          : 0.0;
    } else if (result.ec != std::errc()) {
        return kNotANumber;
    }
    return negative ? -value : value;
}

namespace {

// Rounds |value| to `places` fraction digits and splits the result into the
// digits before the point (no leading zeros; empty for zero) and after it.
void RoundedDigits(double magnitude, int places, std::string& intDigits, std::string& fracDigits) {
    // 309 integer digits at most, the point, and up to 1100 fraction digits.
    std::array<char, 1500> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, places);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    intDigits.assign(whole);
    fracDigits.assign(dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1));
}

// Thousands separators in the first run of digits of `text`.
std::string GroupFirstDigitRun(const std::string& text) {
    const std::size_t start = text.find_first_of("0123456789");
    if (start == std::string::npos) return text;
    std::size_t end = start;
    while (end < text.size() && IsDigit(text[end])) ++end;
    std::string grouped;
    for (std::size_t k = start; k < end; ++k) {
        if (k > start && (end - k) % 3 == 0) grouped += ',';
        grouped += text[k];
    }
    return text.substr(0, start) + grouped + text.substr(end);
}

// The integer part of the mask filled with `digits` from the right.
// Placeholders beyond the digits print '0' or nothing; digits beyond the
// placeholders go before the first one, so none is ever dropped. Commas are
// left out here: grouping is its own step.
std::string IntegerPart(std::string_view mask, const std::string& digits) {
    const std::size_t firstPlaceholder = mask.find_first_of("#0");
    std::string reversed;
    std::size_t next = digits.size();  // digits not yet placed: digits[0, next)
    auto placeRest = [&] {
        while (next > 0) reversed += digits[--next];
    };
    for (std::size_t k = mask.size(); k-- > 0;) {
        const char c = mask[k];
        if (c == ',') continue;
        if (c == '#' || c == '0') {
            if (next > 0)
                reversed += digits[--next];
            else if (c == '0')
                reversed += '0';
            if (k == firstPlaceholder) placeRest();
        } else {
            // A mask with no placeholder puts the digits just before the point.
            if (firstPlaceholder == std::string_view::npos && k + 1 == mask.size()) placeRest();
            reversed += c;
        }
    }
    placeRest();
    return std::string(reversed.rbegin(), reversed.rend());
}

// The fraction part of the mask filled with `digits` from the left; '#'
// places drop trailing zeros.
std::string FractionPart(std::string_view mask, const std::string& digits) {
    const std::size_t significant = digits.find_last_not_of('0') + 1;  // 0 when all zeros
    std::string out;
    std::size_t d = 0;
    for (const char c : mask) {
        if (c == '0') {
            out += digits[d++];
        } else if (c == '#') {
            if (d < significant) out += digits[d];
            ++d;
        } else {
            out += c;
        }
    }
    return out;
}

// A minus sign before the first digit, or before the point when no digit
// stands left of it.
void InsertMinus(std::string& text) {
    const std::size_t at = text.find_first_of("0123456789.");
    text.insert(at == std::string::npos ? text.size() : at, 1, '-');
}

}  // namespace

std::string Format(double value, std::string_view mask) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    const auto dot = mask.find('.');
    const std::string_view intMask = mask.substr(0, dot);
    const std::string_view fracMask =
        dot == std::string_view::npos ? std::string_view() : mask.substr(dot + 1);

    constexpr int kMaxPlaces = 1100;  // beyond this a double has no more exact digits
    const auto fracPlaces = static_cast<int>(std::count_if(
        fracMask.begin(), fracMask.end(), [](char c) { return c == '#' || c == '0'; }));
    std::string intDigits;
    std::string fracDigits;
    RoundedDigits(std::fabs(value), std::min(fracPlaces, kMaxPlaces), intDigits, fracDigits);
    fracDigits.resize(static_cast<std::size_t>(fracPlaces), '0');
    const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;

    std::string out = IntegerPart(intMask, intDigits);
    if (intMask.find(',') != std::string_view::npos) out = GroupFirstDigitRun(out);
    if (dot != std::string_view::npos) out += '.' + FractionPart(fracMask, fracDigits);
    if (value < 0 && !isZero) InsertMinus(out);
    return out;
}

double Sqrt(double x) {
    return std::sqrt(x);
}

double Pow(double base, double exponent) {
    return std::pow(base, exponent);
}

}  // namespace tk
