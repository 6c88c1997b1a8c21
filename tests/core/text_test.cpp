// Text to number (Val), number to text by a mask (Format) and the character
// code of a key (Asc).
#include "toolkit/core/text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A text for a failure message, long ones cut short.
std::string Shown(const std::string& text) {
    if (text.size() <= 32) return '"' + text + '"';
    return '"' + text.substr(0, 16) + "...\" (" + std::to_string(text.size()) + " characters)";
}

// ---------------------------------------------------------------------------
// Val

TEST(Val, ReadsOneWholeNumberBetweenInvisibleCharacters) {
    const std::string zeros(400, '0');
    const std::string nines(400, '9');
    const struct {
        std::string text;
        double expected;
    } kCases[] = {
        // clang-format off
        // Plain numbers.
        {"0", 0.0}, {"12", 12.0}, {"007", 7.0}, {".5", 0.5}, {"5.", 5.0},
        {"0.25", 0.25}, {".60", 0.6}, {"-.5", -0.5}, {"+.5", 0.5}, {"-1", -1.0},
        {"1.0000000000000001", 1.0},
        {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
        // Blanks and characters that show nothing, at either end: space, tab, line
        // breaks, no-break space, ideographic space, narrow no-break space, zero-width
        // space, zero-width non-joiner and joiner, left-to-right mark, byte order mark,
        // soft hyphen, a control character, a language tag (four bytes).
        {" 12", 12.0}, {"\t-3 \r\n", -3.0}, {"\xc2\xa0.30", 0.3}, {".30\xc2\xa0", 0.3},
        {"\xe3\x80\x80.3\xe2\x80\xaf", 0.3}, {"\xe2\x80\x8b\xe2\x80\x8c\xe2\x80\x8d.3", 0.3},
        {"\xe2\x80\x8e.3\xef\xbb\xbf", 0.3}, {"\xc2\xad.3\x01", 0.3}, {".3\xf3\xa0\x80\x81", 0.3},
        // Not wholly one number: NaN. Letters, a comma, the minus sign character,
        // two points or signs, a sign or point alone, a blank inside, a stray
        // exponent, a visible character or malformed UTF-8 at an end, and blanks alone.
        {"", kNaN}, {"   ", kNaN}, {"\xc2\xa0", kNaN}, {"abc", kNaN}, {"12abc", kNaN},
        {"0,30", kNaN}, {",5", kNaN}, {"\xe2\x88\x92.60", kNaN}, {".5.5", kNaN}, {"1.2.3", kNaN},
        {"..5", kNaN}, {"-", kNaN}, {"+", kNaN}, {".", kNaN}, {"-.", kNaN}, {"--5", kNaN},
        {"+-5", kNaN}, {"- 5", kNaN}, {"12 34", kNaN}, {"1-2", kNaN}, {"4-2", kNaN},
        {"1e", kNaN}, {"1e+", kNaN}, {"1ex", kNaN}, {"1e 2", kNaN}, {"1e2.5", kNaN},
        {"e5", kNaN}, {".e1", kNaN}, {"1d2", kNaN}, {"inf", kNaN}, {"nan", kNaN}, {"0x10", kNaN},
        {".3\xc2\xb7", kNaN}, {"\xc0\xa0.3", kNaN}, {".3\xe2\x80", kNaN}, {"\xed\xa0\x80.3", kNaN},
        // Exponents.
        {"1e3", 1000.0}, {"1E3", 1000.0}, {"1e+2", 100.0}, {"1e-2", 0.01}, {"-2.5e1", -25.0},
        {".5e1", 5.0}, {"5.e1", 50.0},
        // Range: too large is an infinity, too small zero; subnormals are kept.
        {"1.7976931348623157e308", DBL_MAX}, {"-1.7976931348623157e308", -DBL_MAX},
        {"1.8e308", kInf}, {"1e400", kInf}, {"-1e400", -kInf}, {"10e308", kInf},
        {nines, kInf}, {"-" + nines + ".5", -kInf}, {"1e99999999999999999999", kInf},
        {"1e-400", 0.0}, {"1e-99999999999999999999", 0.0}, {"0." + zeros + "1", 0.0},
        {"0." + zeros + "1e400", 0.1}, {"1" + zeros + "e-401", 0.1},
        {"2.2250738585072014e-308", DBL_MIN}, {"1e-320", 1e-320}, {"-1e-320", -1e-320},
        {"4.9406564584124654e-324", 5e-324}, {"3e-324", 5e-324}, {"0e999999", 0.0},
        {"0.000e-9999999", 0.0},
        // The magnitude that decides overflow against underflow takes the whole
        // exponent into account, however many digits either part has.
        {"0." + std::string(1000000, '0') + "1e1000400", kInf},  // 10^399
        {"1" + std::string(1000000, '0') + "e-1000400", 0.0},    // 10^-400
        // clang-format on
    };
    for (const auto& c : kCases) {
        const double v = tk::Val(c.text);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(v)) << Shown(c.text) << " gives " << v;
            continue;
        }
        EXPECT_EQ(v, c.expected) << Shown(c.text);
        if (c.expected != 0.0) {
            EXPECT_EQ(std::signbit(v), std::signbit(c.expected)) << Shown(c.text);
        }
    }

    // Zeros keep the sign they were written with; a value too small for a
    // double is a zero of its sign.
    EXPECT_FALSE(std::signbit(tk::Val("0")));
    EXPECT_FALSE(std::signbit(tk::Val("1e-400")));
    EXPECT_TRUE(std::signbit(tk::Val("-1e-400")));
    EXPECT_TRUE(std::signbit(tk::Val("-0." + zeros + "1")));
}

// ---------------------------------------------------------------------------
// Format

TEST(Format, RendersByTheMask) {
    const struct {
        double value;
        const char* mask;
        const char* expected;
    } kCases[] = {
        // clang-format off
        // The result mask of the calculator (typed results: the reference table).
        {0.0, ".0000", ".0000"}, {-0.0, ".0000", ".0000"},
        {-0.00004, ".0000", ".0000"}, {-0.00005, ".0000", "-.0001"}, {1.0, ".0000", "1.0000"},
        {-1.0, ".0000", "-1.0000"}, {0.99995, ".0000", "1.0000"}, {-0.99995, ".0000", "-1.0000"},
        {12345.6, ".0000", "12345.6000"}, {5e-324, ".0000", ".0000"}, {-5e-324, ".0000", ".0000"},
        // Rounding from the exact binary value, ties to even; 0.00015 is just
        // below its tie in binary and 0.00025 just above.
        {0.00015, ".0000", ".0001"}, {0.00025, ".0000", ".0003"}, {2.675, "0.00", "2.67"},
        {1.05, "0.0", "1.1"}, {0.125, "0.00", "0.12"}, {0.375, "0.00", "0.38"}, {2.5, "0", "2"},
        {3.5, "0", "4"}, {-2.5, "0", "-2"}, {0.5, "0", "0"}, {-0.5, "0", "0"}, {1.5, "0", "2"},
        {999.9995, "0.000", "1000.000"}, {9.99999, "0.00", "10.00"},
        // Placeholders.
        {123.0, "0", "123"}, {123.0, "00000", "00123"}, {0.0, "0", "0"}, {0.0, "#", ""},
        {0.4, "#", ""}, {-0.4, "#", ""}, {-0.6, "#", "-1"}, {7.0, "#", "7"}, {0.0, "#.##", "."},
        {-0.00001, "#.##", "."}, {1.5, "0.##", "1.5"}, {1.0, "0.##", "1."}, {1.25, "0.#", "1.2"},
        {1.204, "0.0#", "1.2"}, {1.206, "0.0#", "1.21"}, {0.5, "#.00", ".50"},
        {0.5, "0.00", "0.50"}, {-0.5, "#.00", "-.50"}, {12.7, "", "13"}, {-3.0, "", "-3"},
        {0.4, ".", "."}, {2.6, ".", "3."},
        // Grouping.
        {1234567.891, "#,###.00", "1,234,567.89"}, {1234567.0, "#,##0", "1,234,567"},
        {1234567890.0, "#,##0", "1,234,567,890"}, {123.0, "#,##0", "123"},
        {1000.0, "#,##0", "1,000"}, {999.9995, "#,##0.000", "1,000.000"},
        {-1234.5, "#,##0.0", "-1,234.5"}, {0.0, "#,##0", "0"}, {0.5, "#,##0.00", "0.50"},
        {1e20, "#,##0", "100,000,000,000,000,000,000"}, {1234.0, "0000000", "0001234"},
        {1234.0, "0,000,000", "0,001,234"},
        // Literals, and the sign before the first digit or the point.
        {5.0, "$0.00", "$5.00"}, {-5.0, "$0.00", "$-5.00"}, {12.5, "$.00", "$12.50"},
        {-12.5, "$.00", "$-12.50"}, {-0.5, "x.0", "x-.5"}, {5.0, "0.00%", "5.00%"},
        {3.14159, "r = 0.00", "r = 3.14"}, {12.0, "0x", "12x"}, {12345.0, "0-0", "1234-5"},
        {0.25, "0.0.0", "0.2.5"},
        // Values that are not finite.
        {kInf, ".0000", "INF"}, {-kInf, ".0000", "-INF"}, {kNaN, ".0000", "NAN"},
        {-kNaN, ".0000", "NAN"}, {kInf, "#,##0", "INF"}, {kNaN, "", "NAN"},
        // clang-format on
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(tk::Format(c.value, c.mask), c.expected) << c.value << " by \"" << c.mask << '"';
    }
}

// Digits left of the point are never dropped, however large the value.
TEST(Format, LargestDoubleKeepsEveryDigit) {
    const std::string digits =
        "1797693134862315708145274237317043567980705675258449965989174768031572607800285387605"
        "8955863276687817154045895351438246423432132688946418276846754670353751698604991057655"
        "1282076245490090389328944075868508455133942304583236903222948165808559332123348274797"
        "826204144723168738177180919299881250404026184124858368";
    ASSERT_EQ(digits.size(), 309u);
    EXPECT_EQ(tk::Format(DBL_MAX, "0"), digits);
    EXPECT_EQ(tk::Format(-DBL_MAX, ".00"), "-" + digits + ".00");
    const std::string grouped = tk::Format(DBL_MAX, "#,##0");
    EXPECT_EQ(grouped.size(), 309u + 102u);
    EXPECT_EQ(grouped.substr(0, 8), "179,769,");
    EXPECT_EQ(grouped.substr(grouped.size() - 8), ",858,368");
}

// ---------------------------------------------------------------------------
// Asc

TEST(Asc, FirstCharacterCode) {
    const struct {
        std::string text;
        std::int64_t code;
    } kCases[] = {
        // clang-format off
        {"", 0}, {"0", 48}, {"9x", 57}, {"-", 45}, {".", 46}, {"\b", 8}, {"\t", 9},
        {std::string(1, '\0'), 0},
        {"\xc3\xa9", 0xE9}, {"\xe2\x88\x92", 0x2212}, {"\xf0\x9f\x98\x80", 0x1F600},
        // A malformed first byte is its own code: cut short, a bad continuation,
        // a stray continuation byte, a byte never valid.
        {"\xc3", 0xC3}, {"\xe2\x88", 0xE2}, {"\xc3(", 0xC3}, {"\x80", 0x80}, {"\xff", 0xFF},
        // clang-format on
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(tk::Asc(c.text), c.code) << "text of " << c.text.size() << " byte(s)";
    }
}

}  // namespace
