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

const char* FieldName(InputField f) {
    switch (f) {
        case InputField::RxxFld:
            return "RxxFld";
        case InputField::RyyFld:
            return "RyyFld";
        case InputField::RxyFld:
            return "RxyFld";
    }
    return "?";
}

// ---------------------------------------------------------------------------
// Keys

// The codes each field takes: backspace, tab, the point and the ten digits;
// the X1-X2 field also takes the minus sign.
std::set<std::int64_t> AcceptedCodes(InputField field) {
    std::set<std::int64_t> codes{8, 9, 46, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57};
    if (field == InputField::RxyFld) codes.insert(45);
    return codes;
}

TEST(AcceptsKey, EveryCodeFromMinusOneTo200) {
    for (const InputField field : {InputField::RxxFld, InputField::RyyFld, InputField::RxyFld}) {
        const auto accepted = AcceptedCodes(field);
        for (std::int64_t code = -1; code <= 200; ++code) {
            EXPECT_EQ(calculator::AcceptsKey(field, code), accepted.count(code) == 1)
                << FieldName(field) << " code " << code;
        }
    }
}

// Codes far outside the character range, including ones that would pass for a
// digit or the minus sign if the code were cut to 8 or 32 bits.
TEST(AcceptsKey, CodesOutsideTheCharacterRange) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::int64_t codes[] = {
        kMin,
        kMax,
        kMin + 48,
        kMax - 8,
        -8,
        -9,
        -46,
        -48,
        -45,
        256 + 48,
        256 + 8,
        256 + 45,
        48 - 256,
        45 - 256,
        (std::int64_t{1} << 32) + 48,
        (std::int64_t{1} << 32) + 45,
        0x2212 /* minus sign */,
        0xFF10 /* fullwidth 0 */,
        0x0660 /* Arabic-Indic zero */,
        0x1F600,
    };
    for (const InputField field : {InputField::RxxFld, InputField::RyyFld, InputField::RxyFld}) {
        for (const std::int64_t code : codes) {
            EXPECT_FALSE(calculator::AcceptsKey(field, code))
                << FieldName(field) << " code " << code;
        }
    }
}

// ---------------------------------------------------------------------------
// Compute

struct ComputedCase {
    const char* rxx;
    const char* ryy;
    const char* rxy;
    double p;
    const char* text;
};

void PrintTo(const ComputedCase& c, std::ostream* os) {
    *os << '"' << c.rxx << "\" \"" << c.ryy << "\" \"" << c.rxy << '"';
}

class ComputedTest : public ::testing::TestWithParam<ComputedCase> {};

TEST_P(ComputedTest, PartialCorrelation) {
    const ComputedCase& c = GetParam();
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

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(WorkedValues, ComputedTest,
                         ::testing::Values(ComputedCase{".60", ".70", ".80", 0.09335201, ".0934"},
                                           ComputedCase{".5", ".3", ".4", 0.4346336, ".4346"},
                                           ComputedCase{"0", "0", "0", 0.0, ".0000"},
                                           ComputedCase{".716", ".787", ".913", -0.01005595,
                                                        "-.0101"},
                                           // p is not held to -1..+1.
                                           ComputedCase{".9", ".1", ".95", 2.591051, "2.5911"},
                                           ComputedCase{".6", ".7", "-.8", 2.707208, "2.7072"},
                                           ComputedCase{".6", "1", ".5", kInf, "INF"}));

// A denominator of zero (r2 or r12 at +1 or -1) goes through the mask as an
// infinity or NaN, never as an error.
INSTANTIATE_TEST_SUITE_P(ZeroDenominator, ComputedTest,
                         ::testing::Values(ComputedCase{"-.6", "1", ".5", -kInf, "-INF"},
                                           ComputedCase{".5", ".3", "1", kInf, "INF"},
                                           ComputedCase{".5", ".3", "-1", kInf, "INF"},
                                           ComputedCase{".5", "-1", "-1", -kInf, "-INF"},
                                           ComputedCase{".6", "1", ".6", kNaN, "NAN"},
                                           ComputedCase{"-1", "-1", "1", kNaN, "NAN"},
                                           ComputedCase{"1", "1", "1", kNaN, "NAN"}));

// Texts are read by their leading number: a blank or junk text is zero, not
// missing, and a text a shade past 1 that reads as 1.0 is in range.
INSTANTIATE_TEST_SUITE_P(ReadingTheTexts, ComputedTest,
                         ::testing::Values(ComputedCase{" ", " ", " ", 0.0, ".0000"},
                                           ComputedCase{"abc", ".", "-", 0.0, ".0000"},
                                           ComputedCase{".5abc", "0", "0", 0.5, ".5000"},
                                           ComputedCase{".2.3", "0", "0", 0.2, ".2000"},
                                           ComputedCase{"1", "0", "0", 1.0, "1.0000"},
                                           ComputedCase{"-1", "0", "0", -1.0, "-1.0000"},
                                           ComputedCase{"1.0000000000000001", "0", "0", 1.0,
                                                        "1.0000"},
                                           ComputedCase{"1e0", "-1e-0", "0", kInf, "INF"},
                                           ComputedCase{"5e-1", "0", "0", 0.5, ".5000"},
                                           ComputedCase{"1e-400", "0", "0", 0.0, ".0000"},
                                           // A negative result that rounds to zero shows no sign.
                                           ComputedCase{"-0", "0", "0", 0.0, ".0000"},
                                           ComputedCase{"-.00004", "0", "0", -0.00004, ".0000"},
                                           ComputedCase{"-.00005", "0", "0", -0.00005, "-.0001"}));

// Missing and out-of-range values: the message, the field to focus, and which
// test comes first.
struct ProblemCase {
    const char* rxx;
    const char* ryy;
    const char* rxy;
    Kind kind;
    InputField focus;
};

void PrintTo(const ProblemCase& c, std::ostream* os) {
    *os << '"' << c.rxx << "\" \"" << c.ryy << "\" \"" << c.rxy << '"';
}

std::string ExpectedMessage(Kind kind, InputField focus) {
    const char* pair = focus == InputField::RxxFld   ? "X1 and Y"
                       : focus == InputField::RyyFld ? "X2 and Y"
                                                     : "X1 and X2";
    if (kind == Kind::MissingValue) {
        return std::string("Please enter the correlation between ") + pair;
    }
    return std::string("Correlation of ") + pair + " must range from -1.00 to +1.00";
}

class ProblemTest : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(ProblemTest, FirstProblemWins) {
    const ProblemCase& c = GetParam();
    const ComputeOutcome out = EvaluateInputs(c.rxx, c.ryy, c.rxy);
    ASSERT_EQ(out.kind, c.kind) << out.message << out.resultText;
    EXPECT_EQ(out.focus, c.focus) << FieldName(out.focus);
    EXPECT_EQ(out.message, ExpectedMessage(c.kind, c.focus));
    EXPECT_TRUE(out.resultText.empty());
}

constexpr auto kMissing = Kind::MissingValue;
constexpr auto kRange = Kind::OutOfRange;
constexpr auto kX1Y = InputField::RxxFld;
constexpr auto kX2Y = InputField::RyyFld;
constexpr auto kX1X2 = InputField::RxyFld;

// Every pattern of empty fields: the first empty one in field order is named.
INSTANTIATE_TEST_SUITE_P(Missing, ProblemTest,
                         ::testing::Values(ProblemCase{"", ".5", ".5", kMissing, kX1Y},
                                           ProblemCase{".5", "", ".5", kMissing, kX2Y},
                                           ProblemCase{".5", ".5", "", kMissing, kX1X2},
                                           ProblemCase{"", "", ".5", kMissing, kX1Y},
                                           ProblemCase{"", ".5", "", kMissing, kX1Y},
                                           ProblemCase{".5", "", "", kMissing, kX2Y},
                                           ProblemCase{"", "", "", kMissing, kX1Y},
                                           // Every empty test comes before any value is read.
                                           ProblemCase{"1.5", ".5", "", kMissing, kX1X2},
                                           ProblemCase{"9", "9", "", kMissing, kX1X2},
                                           ProblemCase{"", "9", "", kMissing, kX1Y},
                                           ProblemCase{"2", "", "-7", kMissing, kX2Y}));

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, ProblemTest,
    ::testing::Values(
        ProblemCase{"1.5", ".5", ".5", kRange, kX1Y}, ProblemCase{".5", "1.5", ".5", kRange, kX2Y},
        ProblemCase{".5", ".5", "1.5", kRange, kX1X2},
        ProblemCase{"-1.5", ".5", ".5", kRange, kX1Y},
        ProblemCase{".5", ".5", "-1.01", kRange, kX1X2},
        ProblemCase{"1.0001", "0", "0", kRange, kX1Y},
        ProblemCase{"0", "-1.000001", "0", kRange, kX2Y},
        ProblemCase{"0", "0", "1.0000000000000003", kRange, kX1X2},
        ProblemCase{"1e1", "0", "0", kRange, kX1Y}, ProblemCase{"0", "1e400", "0", kRange, kX2Y},
        ProblemCase{"0", "0", "-1e400", kRange, kX1X2}, ProblemCase{"2abc", "0", "0", kRange, kX1Y},
        // The first field out of range wins, and range is tested
        // before anything is computed.
        ProblemCase{"2", "2", "2", kRange, kX1Y}, ProblemCase{".5", "2", "-3", kRange, kX2Y},
        ProblemCase{"1.5", "1", "1", kRange, kX1Y}, ProblemCase{".5", "1", "-1.5", kRange, kX1X2}));

}  // namespace
