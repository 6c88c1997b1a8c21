// The calculator's decisions: which keys each input field takes, and what a
// Compute click yields for the three typed correlations.
#include "calculator/decisions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using calculator::ComputeOutcome;
using calculator::EvaluateInputs;
using calculator::InputField;
using Kind = ComputeOutcome::Kind;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr auto kX1Y = InputField::RxxFld;
constexpr auto kX2Y = InputField::RyyFld;
constexpr auto kX1X2 = InputField::RxyFld;

// ---------------------------------------------------------------------------
// Keys

// Each field takes backspace, tab, the point and the ten digits; the X1-X2
// field also the minus sign. Codes far outside the character range are
// refused too, including ones that would pass for a digit or the minus sign if
// the code were cut to 8 or 32 bits.
TEST(AcceptsKey, EveryCodeFromMinusOneTo200AndFarOutside) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t k32 = std::int64_t{1} << 32;
    // The last four: the minus sign, fullwidth 0, Arabic-Indic zero, an emoji.
    const std::int64_t kFarOutside[] = {kMin,     kMax,     kMin + 48, kMax - 8, -8,
                                        -9,       -46,      -48,       -45,      256 + 48,
                                        256 + 8,  256 + 45, 48 - 256,  45 - 256, k32 + 48,
                                        k32 + 45, 0x2212,   0xFF10,    0x0660,   0x1F600};
    for (const InputField field : {kX1Y, kX2Y, kX1X2}) {
        std::set<std::int64_t> accepted{8, 9, 46, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57};
        if (field == kX1X2) accepted.insert(45);
        const int f = static_cast<int>(field);
        for (std::int64_t code = -1; code <= 200; ++code) {
            EXPECT_EQ(calculator::AcceptsKey(field, code), accepted.count(code) == 1)
                << "field " << f << " code " << code;
        }
        for (const std::int64_t code : kFarOutside) {
            EXPECT_FALSE(calculator::AcceptsKey(field, code)) << "field " << f << " code " << code;
        }
    }
}

// ---------------------------------------------------------------------------
// Compute

TEST(Compute, PartialCorrelation) {
    const struct {
        const char *rxx, *ryy, *rxy;
        double p;
        const char* text;
    } kCases[] = {
        // clang-format off
        // Typed values beside the reference table's: a zero over a zero, blanks,
        // exponents, many digits, and the sign of a rounded result.
        {".6", "1", ".6", kNaN, "NAN"},
        {"\xc2\xa0.5 ", "\xe2\x80\x8b" "0", "0\t", 0.5, ".5000"}, {"-1", "0", "0", -1.0, "-1.0000"},
        {"1.0000000000000001", "0", "0", 1.0, "1.0000"}, {"1e0", "-1e-0", "0", kInf, "INF"},
        {"5e-1", "0", "0", 0.5, ".5000"}, {"1e-400", "0", "0", 0.0, ".0000"},
        {"-0", "0", "0", 0.0, ".0000"}, {"-.00004", "0", "0", -0.00004, ".0000"},
        {"-.00005", "0", "0", -0.00005, "-.0001"},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.rxx) + " | " + c.ryy + " | " + c.rxy);
        const ComputeOutcome out = EvaluateInputs(c.rxx, c.ryy, c.rxy);
        ASSERT_EQ(out.kind, Kind::Computed) << out.message;
        EXPECT_EQ(out.resultText, c.text);
        if (std::isfinite(c.p)) {
            EXPECT_NEAR(out.p, c.p, 5e-7 * std::max(1.0, std::fabs(c.p)));
        } else if (std::isnan(c.p)) {
            EXPECT_TRUE(std::isnan(out.p));
        } else {
            EXPECT_EQ(out.p, c.p);
        }
    }
}

// Missing and out-of-range values: the field to focus, and which test comes
// first. The messages themselves are checked where the user reads them.
TEST(Compute, FirstProblemWins) {
    constexpr auto kMissing = Kind::MissingValue;
    constexpr auto kRange = Kind::OutOfRange;
    const struct {
        const char *rxx, *ryy, *rxy;
        Kind kind;
        InputField focus;
    } kCases[] = {
        // clang-format off
        // The first empty field is named before any range test; then the first out of
        // range. Texts beside the reference table's digits, points and signs.
        {"2", "", "-7", kMissing, kX2Y},
        {"1.0001", "0", "0", kRange, kX1Y}, {"0", "-1.000001", "0", kRange, kX2Y},
        {"0", "0", "1.0000000000000003", kRange, kX1X2}, {"1e1", "0", "0", kRange, kX1Y},
        {"0", "1e400", "0", kRange, kX2Y}, {"0", "0", "-1e400", kRange, kX1X2},
        {"2abc", "0", "0", kRange, kX1Y}, {" ", ".5", ".5", kRange, kX1Y},
        {".5", ".5abc", ".5", kRange, kX2Y}, {".5", ".5", ".2.3", kRange, kX1X2},
        {"-", ".", "abc", kRange, kX1Y}, {".5", "2", "-3", kRange, kX2Y},
        // clang-format on
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.rxx) + " | " + c.ryy + " | " + c.rxy);
        const ComputeOutcome out = EvaluateInputs(c.rxx, c.ryy, c.rxy);
        ASSERT_EQ(out.kind, c.kind) << out.message << out.resultText;
        EXPECT_EQ(out.focus, c.focus);
        EXPECT_TRUE(out.resultText.empty());
    }
}

}  // namespace
