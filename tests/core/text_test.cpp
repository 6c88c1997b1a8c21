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

// ---------------------------------------------------------------------------
// Val

struct ValCase {
    std::string text;
    double expected;
};

void PrintTo(const ValCase& c, std::ostream* os) {
    if (c.text.size() <= 32) {
        *os << '"' << c.text << '"';
    } else {
        *os << '"' << c.text.substr(0, 16) << "...\" (" << c.text.size() << " characters)";
    }
}

class ValTest : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsTheLeadingNumber) {
    const ValCase& c = GetParam();
    const double v = tk::Val(c.text);
    ASSERT_FALSE(std::isnan(v));
    EXPECT_EQ(v, c.expected);
    // The sign of a zero is checked on its own below.
    if (c.expected != 0.0) {
        EXPECT_EQ(std::signbit(v), std::signbit(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plain, ValTest,
    ::testing::Values(ValCase{"", 0.0}, ValCase{"0", 0.0}, ValCase{"12", 12.0}, ValCase{"007", 7.0},
                      ValCase{".5", 0.5}, ValCase{"5.", 5.0}, ValCase{"0.25", 0.25},
                      ValCase{".60", 0.6}, ValCase{"-.5", -0.5}, ValCase{"+.5", 0.5},
                      ValCase{"-1", -1.0}, ValCase{"1.0000000000000001", 1.0},
                      ValCase{"0.1000000000000000055511151231257827021181583404541015625", 0.1}));

INSTANTIATE_TEST_SUITE_P(BlanksAndSigns, ValTest,
                         ::testing::Values(ValCase{"   ", 0.0}, ValCase{" 12", 12.0},
                                           ValCase{"\t12", 12.0}, ValCase{" \t -3", -3.0},
                                           ValCase{"- 5", 0.0}, ValCase{"--5", 0.0},
                                           ValCase{"+-5", 0.0}, ValCase{"-", 0.0},
                                           ValCase{"+", 0.0}, ValCase{"\n5", 0.0},
                                           ValCase{"\r5", 0.0}, ValCase{"12 34", 12.0},
                                           ValCase{"1-2", 1.0}));

INSTANTIATE_TEST_SUITE_P(Points, ValTest,
                         ::testing::Values(ValCase{".", 0.0}, ValCase{"-.", 0.0},
                                           ValCase{"..5", 0.0}, ValCase{"1.2.3", 1.2},
                                           ValCase{".5.5", 0.5}, ValCase{"1..2", 1.0},
                                           ValCase{",5", 0.0}, ValCase{"1,5", 1.0}));

INSTANTIATE_TEST_SUITE_P(
    Exponents, ValTest,
    ::testing::Values(ValCase{"1e3", 1000.0}, ValCase{"1E3", 1000.0}, ValCase{"1e+2", 100.0},
                      ValCase{"1e-2", 0.01}, ValCase{"-2.5e1", -25.0}, ValCase{".5e1", 5.0},
                      ValCase{"5.e1", 50.0}, ValCase{"1e", 1.0}, ValCase{"1e+", 1.0},
                      ValCase{"1e-", 1.0}, ValCase{"1ex", 1.0}, ValCase{"1e 2", 1.0},
                      ValCase{"1e2.5", 100.0}, ValCase{"1e2e3", 100.0}, ValCase{"e5", 0.0},
                      ValCase{".e1", 0.0}, ValCase{"1d2", 1.0}, ValCase{"1e--2", 1.0}));

INSTANTIATE_TEST_SUITE_P(NotNumbers, ValTest,
                         ::testing::Values(ValCase{"inf", 0.0}, ValCase{"-inf", 0.0},
                                           ValCase{"infinity", 0.0}, ValCase{"nan", 0.0},
                                           ValCase{"NaN", 0.0}, ValCase{"0x10", 0.0},
                                           ValCase{"0x1p3", 0.0}, ValCase{"abc", 0.0},
                                           ValCase{"12abc", 12.0},
                                           ValCase{"\xe2\x88\x92"
                                                   "5",
                                                   0.0}));

INSTANTIATE_TEST_SUITE_P(
    Range, ValTest,
    ::testing::Values(
        ValCase{"1.7976931348623157e308", DBL_MAX}, ValCase{"-1.7976931348623157e308", -DBL_MAX},
        ValCase{"1.8e308", kInf}, ValCase{"1e400", kInf}, ValCase{"-1e400", -kInf},
        ValCase{"10e308", kInf}, ValCase{std::string(400, '9'), kInf},
        ValCase{"-" + std::string(400, '9') + ".5", -kInf}, ValCase{"1e99999999999999999999", kInf},
        ValCase{"1e-400", 0.0}, ValCase{"1e-99999999999999999999", 0.0},
        ValCase{"0." + std::string(400, '0') + "1", 0.0},
        ValCase{"0." + std::string(400, '0') + "1e400", 0.1},
        ValCase{"1" + std::string(400, '0') + "e-401", 0.1},
        ValCase{"2.2250738585072014e-308", DBL_MIN}, ValCase{"1e-320", 1e-320},
        ValCase{"-1e-320", -1e-320}, ValCase{"4.9406564584124654e-324", 5e-324},
        ValCase{"3e-324", 5e-324}, ValCase{"0e999999", 0.0}, ValCase{"0.000e-9999999", 0.0}));

// Zeros keep the sign they were written with; a value too small for a double
// is a zero of its sign.
TEST(Val, ZerosKeepTheirSign) {
    EXPECT_FALSE(std::signbit(tk::Val("0")));
    EXPECT_FALSE(std::signbit(tk::Val("1e-400")));
    EXPECT_TRUE(std::signbit(tk::Val("-1e-400")));
    EXPECT_TRUE(std::signbit(tk::Val("-0." + std::string(400, '0') + "1")));
}

// The magnitude that decides overflow against underflow must take the whole
// exponent into account, however many digits the mantissa or exponent has.
TEST(Val, OutOfRangeDecidedByTheWholeMagnitude) {
    // 0.(1,000,000 zeros)1 times 10^1,000,400 is 10^399.
    const std::string tooLarge = "0." + std::string(1000000, '0') + "1e1000400";
    EXPECT_EQ(tk::Val(tooLarge), kInf);
    // 1(1,000,000 zeros) times 10^-1,000,400 is 10^-400.
    const std::string tooSmall = "1" + std::string(1000000, '0') + "e-1000400";
    EXPECT_EQ(tk::Val(tooSmall), 0.0);
}

// ---------------------------------------------------------------------------
// Format

struct FormatCase {
    double value;
    std::string mask;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.value << " by \"" << c.mask << '"';
}

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, Renders) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(tk::Format(c.value, c.mask), c.expected);
}

// The result mask of the calculator.
INSTANTIATE_TEST_SUITE_P(
    ResultMask, FormatTest,
    ::testing::Values(
        FormatCase{0.09335201, ".0000", ".0934"}, FormatCase{0.4346336, ".0000", ".4346"},
        FormatCase{-0.01005595, ".0000", "-.0101"}, FormatCase{2.591051, ".0000", "2.5911"},
        FormatCase{-2.707208, ".0000", "-2.7072"}, FormatCase{0.0, ".0000", ".0000"},
        FormatCase{-0.0, ".0000", ".0000"}, FormatCase{-0.00004, ".0000", ".0000"},
        FormatCase{-0.00005, ".0000", "-.0001"}, FormatCase{1.0, ".0000", "1.0000"},
        FormatCase{-1.0, ".0000", "-1.0000"}, FormatCase{0.99995, ".0000", "1.0000"},
        FormatCase{-0.99995, ".0000", "-1.0000"}, FormatCase{12345.6, ".0000", "12345.6000"},
        FormatCase{5e-324, ".0000", ".0000"}, FormatCase{-5e-324, ".0000", ".0000"}));

// Rounding works from the exact binary value, ties to even.
INSTANTIATE_TEST_SUITE_P(
    Rounding, FormatTest,
    ::testing::Values(FormatCase{0.00015, ".0000", ".0001"},  // binary just below the tie
                      FormatCase{0.00025, ".0000", ".0003"},  // binary just above the tie
                      FormatCase{2.675, "0.00", "2.67"}, FormatCase{1.05, "0.0", "1.1"},
                      FormatCase{0.125, "0.00", "0.12"}, FormatCase{0.375, "0.00", "0.38"},
                      FormatCase{2.5, "0", "2"}, FormatCase{3.5, "0", "4"},
                      FormatCase{-2.5, "0", "-2"}, FormatCase{0.5, "0", "0"},
                      FormatCase{-0.5, "0", "0"}, FormatCase{1.5, "0", "2"},
                      FormatCase{999.9995, "0.000", "1000.000"},
                      FormatCase{9.99999, "0.00", "10.00"}));

INSTANTIATE_TEST_SUITE_P(
    Placeholders, FormatTest,
    ::testing::Values(FormatCase{123.0, "0", "123"}, FormatCase{123.0, "00000", "00123"},
                      FormatCase{0.0, "0", "0"}, FormatCase{0.0, "#", ""}, FormatCase{0.4, "#", ""},
                      FormatCase{-0.4, "#", ""}, FormatCase{-0.6, "#", "-1"},
                      FormatCase{0.0, "#.##", "."}, FormatCase{-0.00001, "#.##", "."},
                      FormatCase{1.5, "0.##", "1.5"}, FormatCase{1.0, "0.##", "1."},
                      FormatCase{1.25, "0.#", "1.2"}, FormatCase{1.204, "0.0#", "1.2"},
                      FormatCase{1.206, "0.0#", "1.21"}, FormatCase{0.5, "#.00", ".50"},
                      FormatCase{0.5, "0.00", "0.50"}, FormatCase{-0.5, "#.00", "-.50"},
                      FormatCase{12.7, "", "13"}, FormatCase{-3.0, "", "-3"},
                      FormatCase{0.4, ".", "."}, FormatCase{2.6, ".", "3."},
                      FormatCase{7.0, "#", "7"}));

INSTANTIATE_TEST_SUITE_P(Grouping, FormatTest,
                         ::testing::Values(FormatCase{1234567.891, "#,###.00", "1,234,567.89"},
                                           FormatCase{1234567.0, "#,##0", "1,234,567"},
                                           FormatCase{1234567890.0, "#,##0", "1,234,567,890"},
                                           FormatCase{123.0, "#,##0", "123"},
                                           FormatCase{1000.0, "#,##0", "1,000"},
                                           FormatCase{999.9995, "#,##0.000", "1,000.000"},
                                           FormatCase{-1234.5, "#,##0.0", "-1,234.5"},
                                           FormatCase{0.0, "#,##0", "0"},
                                           FormatCase{0.5, "#,##0.00", "0.50"},
                                           FormatCase{1e20, "#,##0", "100,000,000,000,000,000,000"},
                                           FormatCase{1234.0, "0000000", "0001234"},
                                           FormatCase{1234.0, "0,000,000", "0,001,234"}));

INSTANTIATE_TEST_SUITE_P(
    Literals, FormatTest,
    ::testing::Values(FormatCase{5.0, "$0.00", "$5.00"}, FormatCase{-5.0, "$0.00", "$-5.00"},
                      FormatCase{12.5, "$.00", "$12.50"}, FormatCase{-12.5, "$.00", "$-12.50"},
                      FormatCase{-0.5, "x.0", "x-.5"}, FormatCase{5.0, "0.00%", "5.00%"},
                      FormatCase{3.14159, "r = 0.00", "r = 3.14"}, FormatCase{12.0, "0x", "12x"},
                      FormatCase{12345.0, "0-0", "1234-5"}, FormatCase{0.25, "0.0.0", "0.2.5"}));

INSTANTIATE_TEST_SUITE_P(
    NotFinite, FormatTest,
    ::testing::Values(FormatCase{kInf, ".0000", "INF"}, FormatCase{-kInf, ".0000", "-INF"},
                      FormatCase{kNaN, ".0000", "NAN"}, FormatCase{-kNaN, ".0000", "NAN"},
                      FormatCase{kInf, "#,##0", "INF"}, FormatCase{kNaN, "", "NAN"}));

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

// The smallest double has 1074 exact fraction digits ending in 5; a mask with
// more places than that pads with zeros.
TEST(Format, SmallestDoubleToEveryPlace) {
    const std::string exact = tk::Format(5e-324, "." + std::string(1074, '0'));
    ASSERT_EQ(exact.size(), 1075u);
    EXPECT_EQ(exact.substr(0, 324), "." + std::string(323, '0'));
    EXPECT_EQ(exact.substr(324, 8), "49406564");
    EXPECT_EQ(exact.back(), '5');

    const std::string padded = tk::Format(-5e-324, "." + std::string(1300, '0'));
    ASSERT_EQ(padded.size(), 1302u);
    EXPECT_EQ(padded.front(), '-');
    EXPECT_EQ(padded.substr(1076), std::string(226, '0'));
    // One place short, both are exact ties: ...65625 -> ...6562 and, for three
    // times the smallest double, ...96875 -> ...9688.
    const std::string places1073 = "." + std::string(1073, '0');
    const std::string even = tk::Format(5e-324, places1073);
    ASSERT_EQ(even.size(), 1074u);
    EXPECT_EQ(even.substr(even.size() - 4), "6562");
    const std::string odd = tk::Format(3 * 5e-324, places1073);
    ASSERT_EQ(odd.size(), 1074u);
    EXPECT_EQ(odd.substr(odd.size() - 4), "9688");
}

// ---------------------------------------------------------------------------
// Asc

TEST(Asc, FirstCharacterCode) {
    struct Case {
        std::string text;
        std::int64_t code;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 48},
        {"9x", 57},
        {"-", 45},
        {".", 46},
        {"\b", 8},
        {"\t", 9},
        {std::string(1, '\0'), 0},
        {"\xc3\xa9", 0xE9},             // e acute, two bytes
        {"\xe2\x88\x92", 0x2212},       // minus sign, three bytes
        {"\xf0\x9f\x98\x80", 0x1F600},  // four bytes
        {"\xc3", 0xC3},                 // cut short: the byte itself
        {"\xe2\x88", 0xE2},             // cut short
        {"\xc3(", 0xC3},                // bad continuation
        {"\x80", 0x80},                 // stray continuation byte
        {"\xff", 0xFF},                 // never valid
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tk::Asc(c.text), c.code) << "text of " << c.text.size() << " byte(s)";
    }
}

}  // namespace
