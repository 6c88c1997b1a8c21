// The calculator's two decisions, apart from any window: which typed keys an
// input field takes, and what the three typed correlations yield.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace calculator {

// The three input fields, in the order of every test of a Compute click.
enum class InputField { RxxFld, RyyFld, RxyFld };

// What a Compute click yields: the first missing or out-of-range value, or the
// partial correlation of X1 and Y with X2 held constant.
struct ComputeOutcome {
    enum class Kind { MissingValue, OutOfRange, Computed };

    Kind kind = Kind::Computed;
    std::string message;                    // MissingValue and OutOfRange
    InputField focus = InputField::RxxFld;  // MissingValue and OutOfRange
    double p = 0.0;                         // Computed
    std::string resultText;                 // Computed: Format(p, ".0000")
};

// The mask of the result text.
inline constexpr std::string_view kResultMask = ".0000";

// True when `field` takes the key whose first character has the code `code`:
// the digits, backspace, tab and the decimal point, and in RxyFld the minus sign.
bool AcceptsKey(InputField field, std::int64_t code);

// Tests the three texts (missing first, then range) and computes the partial
// correlation. Texts are given in the field order RxxFld, RyyFld, RxyFld.
ComputeOutcome EvaluateInputs(std::string_view rxx, std::string_view ryy, std::string_view rxy);

}  // namespace calculator
