// The layout-list codec: exact bytes of a known list, and every kind of
// malformed list. Round trips of any bytes are the fuzz target's.
#include "toolkit/core/proplist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

namespace pl = tk::plist;
using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
    return out;
}
Bytes B(std::string_view text) {
    return Bytes(text.begin(), text.end());
}
Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// One row of every type, with values that show byte order and sign, an empty
// text followed at once by the next name, and a name given twice.
constexpr pl::Row kEveryTypeRows[] = {
    pl::Int("Index", -2147483648LL), pl::Bool("Visible", true),
    pl::Unit("FontUnit", 255),       pl::Text("Name", "RdFld"),
    pl::Text("Value", ""),           pl::Rgb("TextColor", 0x01, 0x02, 0x03, 0xfe),
    pl::Size("FontSize", 14.0f),     pl::Spacing("LineSpacing", 1.25),
    pl::Int("Width", 580),           pl::Bool("Visible", false),
};
LAYOUT_LIST(kEveryType, kEveryTypeRows);

// clang-format off
const std::vector<pl::Entry> kEveryTypeEntries{
    {"Index", std::int64_t{-2147483648LL}}, {"Visible", true},
    {"FontUnit", pl::FontUnit{255}},        {"Name", std::string("RdFld")},
    {"Value", std::string()},               {"TextColor", pl::Colour{{1, 2, 3, 0xfe}}},
    {"FontSize", pl::FontSize{14.0f}},      {"LineSpacing", pl::LineSpacing{1.25}},
    {"Width", std::int64_t{580}},           {"Visible", false}};

const Bytes kEveryTypeBytes = Cat({
    B("Index "), B({0, 0, 0, 0x80, 0xff, 0xff, 0xff, 0xff}),
    B("Visible "), B({1}),
    B("FontUnit "), B({0xff}),
    B("Name "), B({5, 0, 0, 0}), B("RdFld"),
    B("Value "), B({0, 0, 0, 0}),
    B("TextColor "), B({1, 2, 3, 0xfe}),
    B("FontSize "), B({0, 0, 0x60, 0x41}),
    B("LineSpacing "), B({0, 0, 0, 0, 0, 0, 0xf4, 0x3f}),
    B("Width "), B({0x44, 0x02, 0, 0, 0, 0, 0, 0}),
    B("Visible "), B({0}),
});
// clang-format on

// The constant rows made at build time, Encode and Decode all agree with the
// bytes written out by hand.
TEST(LayoutList, EveryTypeToItsExactBytesAndBack) {
    EXPECT_EQ(Bytes(kEveryType.begin(), kEveryType.end()), kEveryTypeBytes);
    EXPECT_EQ(pl::Encode(kEveryTypeEntries), kEveryTypeBytes);
    EXPECT_EQ(pl::Decode(kEveryTypeBytes), kEveryTypeEntries);
    EXPECT_TRUE(pl::Decode(Bytes{}).empty());
    EXPECT_TRUE(pl::Encode({}).empty());
}

// Malformed lists: each is refused at the offset where the fault lies, for
// its own reason.
TEST(LayoutList, MalformedListsAreRefusedAtTheFault) {
    const Bytes width580 = Cat({B("Width "), B({0x44, 0x02, 0, 0, 0, 0, 0, 0})});  // 14 bytes
    const Bytes zero8 = B({0, 0, 0, 0, 0, 0, 0, 0});
    const struct {
        const char* what;
        Bytes bytes;
        std::size_t offset;
        const char* why;  // a part of the message
    } kCases[] = {
        {"integer cut short", Cat({B("Width "), B({0x44, 0x02, 0})}), 6, "ends inside"},
        {"nothing after the space", B("Width "), 6, "ends inside"},
        {"name with no space at the end", B("Width"), 5, "ends after the name"},
        {"second name at the end", Cat({width580, B("Hei")}), 17, "ends after the name"},
        {"missing space", Cat({B("Height"), zero8}), 6, "expected a space"},
        {"unknown name", Cat({B("Depth "), zero8}), 0, "unknown property"},
        {"unknown second name", Cat({width580, B("Depth "), B({0})}), 14, "unknown property"},
        {"leading space", Cat({B(" Width "), zero8}), 0, "expected a property name"},
        {"no name at all", B({0}), 0, "expected a property name"},
        {"high byte in the name", B({'W', 0xc3, 0xa9, ' '}), 1, "expected a space"},
        {"text count cut short", Cat({B("Name "), B({5, 0})}), 5, "ends inside"},
        {"text count past the end", Cat({B("Name "), B({6, 0, 0, 0}), B("RdFld")}), 5,
         "counts 6 bytes but only 5"},
        {"text count far past the end", Cat({B("Name "), B({0xff, 0xff, 0xff, 0xff}), B("x")}), 5,
         "counts 4294967295 bytes but only 1"},
        {"text count past the end, second entry", Cat({width580, B("Title "), B({1, 0, 0, 0})}), 20,
         "counts 1 bytes but only 0"},
        {"boolean of 2", Cat({B("Visible "), B({2})}), 8, "is 2; expected 0 or 1"},
        {"boolean of 255", Cat({width580, B("Enabled "), B({0xff})}), 22,
         "is 255; expected 0 or 1"},
        {"colour cut short", Cat({B("TextColor "), B({1, 2, 3})}), 10, "ends inside"},
        {"line spacing cut short", Cat({B("LineSpacing "), B({0, 0, 0, 0})}), 12, "ends inside"},
        {"junk after a good entry", Cat({width580, B({0})}), 14, "expected a property name"},
    };
    for (const auto& c : kCases) {
        try {
            pl::Decode(c.bytes);
            ADD_FAILURE() << c.what << ": decoded";
        } catch (const pl::DecodeError& e) {
            EXPECT_EQ(e.offset(), c.offset) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
}

}  // namespace
