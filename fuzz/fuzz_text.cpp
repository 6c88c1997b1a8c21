// Val and Format on arbitrary input.
//
// The whole input, as text, goes to Val, which must treat a written minus sign
// as a negation and read the same between a no-break space and a zero-width
// space. The first 8 bytes, as a double,
// then go to Format with the rest of the input as the mask: no crash, and every
// character the mask must show is there. A finite double formatted by the
// result mask must read back within half a unit of its last place.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calculator/decisions.h"
#include "toolkit/core/text.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool StartsANumber(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double v = tk::Val(text);
    const double wrapped = tk::Val("\xc2\xa0" + std::string(text) + "\xe2\x80\x8b");
    Check(std::isnan(v) ? std::isnan(wrapped) : wrapped == v);
    if (!text.empty() && StartsANumber(text[0])) {
        const double negated = tk::Val("-" + std::string(text));
        if (std::isnan(v)) {
            Check(std::isnan(negated));
        } else {
            Check(negated == -v);
            if (v != 0) Check(std::signbit(negated) != std::signbit(v));
        }
    }

    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    constexpr std::size_t kMaxMask = 1500;
    const std::string_view mask = text.substr(sizeof(double), kMaxMask);
    const std::string shown = tk::Format(value, mask);
    if (std::isfinite(value)) {
        // Every '0' place gives a digit and every other character but '#' and
        // the grouping commas (those before the point) stands in the text.
        const std::size_t point = mask.find('.');
        std::size_t least = 0;
        for (std::size_t i = 0; i < mask.size(); ++i) {
            if (mask[i] == '#' || (mask[i] == ',' && i < point)) continue;
            ++least;
        }
        Check(shown.size() >= least);
    }

    const std::string result = tk::Format(value, calculator::kResultMask);
    if (std::isnan(value)) {
        Check(result == "NAN");
    } else if (std::isinf(value)) {
        Check(result == (value < 0 ? "-INF" : "INF"));
    } else {
        const double back = tk::Val(result);
        // Half a unit in the fourth place, plus what reading back may round.
        Check(std::fabs(back - value) <= 0.00005 * (1 + 1e-9) + std::fabs(value) * 1e-15);
        Check((result.find('-') != std::string::npos) == (back < 0));
    }
    return 0;
}
