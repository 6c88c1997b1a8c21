#include "calculator/decisions.h"

#include <array>

#include "toolkit/core/text.h"

namespace calculator {

bool AcceptsKey(InputField field, std::int64_t code) {
    constexpr std::int64_t kBackspace = 8;
    constexpr std::int64_t kTab = 9;
    constexpr std::int64_t kMinus = 45;
    constexpr std::int64_t kPoint = 46;
    if (code > 47 && code < 58) return true;  // the digits 0 to 9
    if (code == kBackspace || code == kTab || code == kPoint) return true;
    return field == InputField::RxyFld && code == kMinus;
}

namespace {

struct FieldTexts {
    InputField field;
    std::string_view pair;  // the two variables the field correlates
};

constexpr std::array<FieldTexts, 3> kFields{{
    {InputField::RxxFld, "X1 and Y"},
    {InputField::RyyFld, "X2 and Y"},
    {InputField::RxyFld, "X1 and X2"},
}};

ComputeOutcome Problem(ComputeOutcome::Kind kind, const FieldTexts& f) {
    ComputeOutcome outcome;
    outcome.kind = kind;
    outcome.focus = f.field;
    if (kind == ComputeOutcome::Kind::MissingValue) {
        outcome.message = "Please enter the correlation between " + std::string(f.pair);
    } else {
        outcome.message =
            "Correlation of " + std::string(f.pair) + " must range from -1.00 to +1.00";
    }
    return outcome;
}

}  // namespace

ComputeOutcome EvaluateInputs(std::string_view rxx, std::string_view ryy, std::string_view rxy) {
    const std::array<std::string_view, 3> texts{rxx, ryy, rxy};

    // Every empty test comes before any conversion.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (tk::IsEmptyText(texts[i]))
            return Problem(ComputeOutcome::Kind::MissingValue, kFields[i]);
    }

    std::array<double, 3> r{};
    for (std::size_t i = 0; i < texts.size(); ++i) r[i] = tk::Val(texts[i]);

    for (std::size_t i = 0; i < r.size(); ++i) {
        // Written so that NaN, a text that is no number, is out of range too.
        const bool inRange = r[i] >= -1.0 && r[i] <= 1.0;
        if (!inRange) return Problem(ComputeOutcome::Kind::OutOfRange, kFields[i]);
    }

    const double r1 = r[0];
    const double r2 = r[1];
    const double r12 = r[2];
    const double n = r1 - (r2 * r12);
    const double a = 1.0 - tk::Pow(r2, 2.0);
    const double b = 1.0 - tk::Pow(r12, 2.0);
    const double d = tk::Sqrt(a) * tk::Sqrt(b);
    const double p = n / d;

    ComputeOutcome outcome;
    outcome.kind = ComputeOutcome::Kind::Computed;
    outcome.p = p;
    outcome.resultText = tk::Format(p, kResultMask);
    return outcome;
}

}  // namespace calculator
