// A Compute click on three arbitrary texts: the input split at its first two
// line feeds (missing parts are empty). Checks the outcome hangs together:
// the first empty text is the one named, a refusal carries a message and no
// result, and a result is the result mask applied to p.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calculator/decisions.h"
#include "toolkit/core/text.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view texts[3];
    for (int i = 0; i < 2; ++i) {
        const std::size_t cut = rest.find('\n');
        if (cut == std::string_view::npos) {
            texts[i] = rest;
            rest = {};
            break;
        }
        texts[i] = rest.substr(0, cut);
        rest.remove_prefix(cut + 1);
    }
    texts[2] = rest;

    using Kind = calculator::ComputeOutcome::Kind;
    const auto out = calculator::EvaluateInputs(texts[0], texts[1], texts[2]);

    int firstEmpty = -1;
    for (int i = 2; i >= 0; --i) {
        if (texts[i].empty()) firstEmpty = i;
    }
    if (firstEmpty >= 0) {
        Check(out.kind == Kind::MissingValue && static_cast<int>(out.focus) == firstEmpty);
    } else {
        Check(out.kind != Kind::MissingValue);
    }

    if (out.kind == Kind::Computed) {
        Check(out.message.empty());
        Check(out.resultText == tk::Format(out.p, calculator::kResultMask));
        for (const auto t : texts) {
            const double r = tk::Val(t);
            Check(r >= -1.0 && r <= 1.0);
        }
    } else {
        Check(!out.message.empty() && out.resultText.empty());
        if (out.kind == Kind::OutOfRange) {
            const double r = tk::Val(texts[static_cast<int>(out.focus)]);
            Check(!(r >= -1.0 && r <= 1.0));  // NaN for a text that is no number
        }
    }
    return 0;
}
