// Decodes arbitrary bytes as a layout list. A refusal must name an offset
// within the bytes; a list that decodes must encode back to the same bytes.
// Any other exception escapes and counts as a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "toolkit/core/proplist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so a read past the end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    std::vector<tk::plist::Entry> entries;
    try {
        entries = tk::plist::Decode(bytes);
    } catch (const tk::plist::DecodeError& e) {
        if (e.offset() > size) std::abort();
        return 0;
    }
    if (tk::plist::Encode(entries) != bytes) std::abort();
    return 0;
}
