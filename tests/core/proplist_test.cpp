// The layout-list codec: exact bytes of known lists, round trips, and every
// kind of malformed list.
#include "toolkit/core/proplist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <set>
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
template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& a) {
    return Bytes(a.begin(), a.end());
}

// The lists below are the program's kind of lists, made by the constexpr rows
// and compared with the same entries through Encode.
constexpr pl::Row kMainRows[] = {
    pl::Int("Width", 580),
    pl::Int("Height", 450),
};
LAYOUT_LIST(kMain, kMainRows);

constexpr pl::Row kResultRows[] = {
    pl::Text("Name", "RdFld"),   pl::Int("Index", -2147483648LL), pl::Int("Left", 250),
    pl::Size("FontSize", 14.0f), pl::Spacing("LineSpacing", 1.0), pl::Unit("FontUnit", 0),
};
LAYOUT_LIST(kResult, kResultRows);

constexpr pl::Row kTimerRows[] = {
    pl::Int("Period", 4000),
    pl::Int("RunMode", 1),
};
LAYOUT_LIST(kTimer, kTimerRows);
static_assert(kTimer.size() == 31);

// One row of every type, with values that show byte order and sign.
constexpr pl::Row kEveryTypeRows[] = {
    pl::Int("Top", -1),
    pl::Bool("Visible", true),
    pl::Bool("Enabled", false),
    pl::Unit("FontUnit", 255),
    pl::Text("Title", "Tamsavik \xe2\x80\x94 r"),
    pl::Text("Value", ""),
    pl::Rgb("TextColor", 0x01, 0x02, 0x03, 0xfe),
    pl::Size("FontSize", -0.5f),
    pl::Spacing("LineSpacing", 1.25),
    pl::Int("MaximumCharactersAllowed", std::numeric_limits<std::int64_t>::max()),
};
LAYOUT_LIST(kEveryType, kEveryTypeRows);

TEST(LayoutList, MainWindowBytes) {
    const Bytes expected = Cat({B("Width "), B({0x44, 0x02, 0, 0, 0, 0, 0, 0}), B("Height "),
                                B({0xc2, 0x01, 0, 0, 0, 0, 0, 0})});
    EXPECT_EQ(ToBytes(kMain), expected);
    EXPECT_EQ(pl::Encode({{"Width", std::int64_t{580}}, {"Height", std::int64_t{450}}}), expected);
    const auto entries = pl::Decode(expected);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (pl::Entry{"Width", std::int64_t{580}}));
    EXPECT_EQ(entries[1], (pl::Entry{"Height", std::int64_t{450}}));
}

TEST(LayoutList, ResultFieldBytes) {
    const Bytes expected = Cat({
        B("Name "),
        B({5, 0, 0, 0}),
        B("RdFld"),  //
        B("Index "),
        B({0, 0, 0, 0x80, 0xff, 0xff, 0xff, 0xff}),  //
        B("Left "),
        B({0xfa, 0, 0, 0, 0, 0, 0, 0}),  //
        B("FontSize "),
        B({0x00, 0x00, 0x60, 0x41}),  //
        B("LineSpacing "),
        B({0, 0, 0, 0, 0, 0, 0xf0, 0x3f}),  //
        B("FontUnit "),
        B({0x00}),
    });
    EXPECT_EQ(ToBytes(kResult), expected);
    const std::vector<pl::Entry> entries{
        {"Name", std::string("RdFld")},        {"Index", std::int64_t{-2147483648LL}},
        {"Left", std::int64_t{250}},           {"FontSize", pl::FontSize{14.0f}},
        {"LineSpacing", pl::LineSpacing{1.0}}, {"FontUnit", pl::FontUnit{0}},
    };
    EXPECT_EQ(pl::Encode(entries), expected);
    EXPECT_EQ(pl::Decode(expected), entries);
}

TEST(LayoutList, TimerBytes) {
    const Bytes expected = Cat({B("Period "), B({0xa0, 0x0f, 0, 0, 0, 0, 0, 0}), B("RunMode "),
                                B({1, 0, 0, 0, 0, 0, 0, 0})});
    ASSERT_EQ(expected.size(), 31u);
    EXPECT_EQ(ToBytes(kTimer), expected);
}

// An empty text is its count alone; the next name follows at once.
TEST(LayoutList, EmptyTextThenNextName) {
    const Bytes bytes = Cat({B("Value "), B({0, 0, 0, 0}), B("Name "), B({1, 0, 0, 0}), B("x")});
    const std::vector<pl::Entry> entries{{"Value", std::string()}, {"Name", std::string("x")}};
    EXPECT_EQ(pl::Decode(bytes), entries);
    EXPECT_EQ(pl::Encode(entries), bytes);
}

TEST(LayoutList, RepeatedNamesKeptInOrder) {
    const std::vector<pl::Entry> entries{
        {"Left", std::int64_t{1}}, {"Top", std::int64_t{2}}, {"Left", std::int64_t{3}}};
    EXPECT_EQ(pl::Decode(pl::Encode(entries)), entries);
}

TEST(LayoutList, EmptyListHasNoEntries) {
    EXPECT_TRUE(pl::Decode(Bytes{}).empty());
    EXPECT_TRUE(pl::Encode({}).empty());
}

// The constexpr rows and Encode agree on every type, and Decode gives the
// entries back.
TEST(LayoutList, EveryTypeRoundTrips) {
    const std::vector<pl::Entry> entries{
        {"Top", std::int64_t{-1}},
        {"Visible", true},
        {"Enabled", false},
        {"FontUnit", pl::FontUnit{255}},
        {"Title", std::string("Tamsavik \xe2\x80\x94 r")},
        {"Value", std::string()},
        {"TextColor", pl::Colour{{0x01, 0x02, 0x03, 0xfe}}},
        {"FontSize", pl::FontSize{-0.5f}},
        {"LineSpacing", pl::LineSpacing{1.25}},
        {"MaximumCharactersAllowed", std::numeric_limits<std::int64_t>::max()},
    };
    const Bytes bytes = pl::Encode(entries);
    EXPECT_EQ(bytes, ToBytes(kEveryType));
    EXPECT_EQ(pl::Decode(bytes), entries);
    EXPECT_EQ(pl::Encode(pl::Decode(bytes)), bytes);
}

// Every value a text, colour or number may hold comes back bit for bit,
// including text bytes that are not letters and NaN payloads.
TEST(LayoutList, ValuesComeBackBitForBit) {
    std::string allBytes;
    for (int c = 0; c < 256; ++c) allBytes += static_cast<char>(c);
    const Bytes bytes = Cat({
        B("Tooltip "), B({0, 1, 0, 0}), B(allBytes), B("BackgroundColor "),
        B({0xff, 0x00, 0x80, 0x7f}), B("FontSize "), B({0x01, 0x00, 0x80, 0x7f}),  // signalling NaN
        B("LineSpacing "), B({0x01, 0, 0, 0, 0, 0, 0xf8, 0xff}),  // NaN with payload
        B("Width "), B({0, 0, 0, 0, 0, 0, 0, 0x80}),              // INT64_MIN
    });
    const auto entries = pl::Decode(bytes);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(std::get<std::string>(entries[0].value), allBytes);
    EXPECT_EQ(std::get<std::int64_t>(entries[4].value), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(pl::Encode(entries), bytes);
}

// Every name the table knows can stand in a list: letters only, no repeats,
// and each encodes and decodes with a value of its type.
TEST(LayoutList, EveryKnownNameRoundTrips) {
    std::set<std::string_view> seen;
    std::vector<pl::Entry> entries;
    for (const std::string_view name : pl::KnownNames()) {
        EXPECT_TRUE(seen.insert(name).second) << "repeated name " << name;
        for (const char c : name) {
            EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << name;
        }
        const auto type = pl::TypeOf(name);
        ASSERT_TRUE(type.has_value()) << name;
        pl::Value value;
        switch (*type) {
            case pl::ValueType::Integer:
                value = std::int64_t{-123456789012};
                break;
            case pl::ValueType::Boolean:
                value = true;
                break;
            case pl::ValueType::FontUnit:
                value = pl::FontUnit{3};
                break;
            case pl::ValueType::Text:
                value = std::string(name);
                break;
            case pl::ValueType::Colour:
                value = pl::Colour{{9, 8, 7, 6}};
                break;
            case pl::ValueType::FontSize:
                value = pl::FontSize{10.5f};
                break;
            case pl::ValueType::LineSpacing:
                value = pl::LineSpacing{1.5};
                break;
        }
        entries.push_back({std::string(name), value});
    }
    EXPECT_GT(entries.size(), 60u);
    EXPECT_EQ(pl::Decode(pl::Encode(entries)), entries);
}

TEST(LayoutList, TypeOfKnowsOnlyExactNames) {
    EXPECT_EQ(pl::TypeOf("Width"), pl::ValueType::Integer);
    EXPECT_EQ(pl::TypeOf("Visible"), pl::ValueType::Boolean);
    EXPECT_EQ(pl::TypeOf("Name"), pl::ValueType::Text);
    EXPECT_EQ(pl::TypeOf("TextColor"), pl::ValueType::Colour);
    EXPECT_EQ(pl::TypeOf("FontSize"), pl::ValueType::FontSize);
    EXPECT_EQ(pl::TypeOf("LineSpacing"), pl::ValueType::LineSpacing);
    EXPECT_EQ(pl::TypeOf("FontUnit"), pl::ValueType::FontUnit);
    for (const char* name : {"", "width", "WIDTH", "Widt", "Widths", "Width ", "Depth"}) {
        EXPECT_FALSE(pl::TypeOf(name).has_value()) << '"' << name << '"';
    }
}

TEST(LayoutList, EncodeRefusesBadEntries) {
    const std::vector<std::vector<pl::Entry>> bad{
        {{"Depth", std::int64_t{1}}},
        {{"width", std::int64_t{1}}},
        {{"Width", true}},
        {{"Visible", std::int64_t{1}}},
        {{"Name", pl::FontUnit{1}}},
        {{"FontSize", pl::LineSpacing{1.0}}},
        {{"Width", std::int64_t{1}}, {"Title", pl::Colour{}}},
    };
    for (const auto& entries : bad) {
        EXPECT_THROW(pl::Encode(entries), std::invalid_argument) << entries.back().name;
    }
}

// ---------------------------------------------------------------------------
// Malformed lists: each is refused with the offset where the fault lies.

struct MalformedCase {
    const char* what;
    Bytes bytes;
    std::size_t offset;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.what;
}

class MalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedTest, RefusedAtTheFault) {
    const MalformedCase& c = GetParam();
    try {
        pl::Decode(c.bytes);
        FAIL() << "decoded";
    } catch (const pl::DecodeError& e) {
        EXPECT_EQ(e.offset(), c.offset) << e.what();
        EXPECT_NE(std::string(e.what()).find("byte " + std::to_string(c.offset)), std::string::npos)
            << e.what();
    }
}

const Bytes kWidth580 = Cat({B("Width "), B({0x44, 0x02, 0, 0, 0, 0, 0, 0})});  // 14 bytes

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedTest,
    ::testing::Values(
        MalformedCase{"integer cut short", Cat({B("Width "), B({0x44, 0x02, 0})}), 6},
        MalformedCase{"nothing after the space", B("Width "), 6},
        MalformedCase{"second entry cut short", Cat({kWidth580, B("Height "), B({1})}), 21},
        MalformedCase{"name with no space at the end", B("Width"), 5},
        MalformedCase{"second name at the end", Cat({kWidth580, B("Hei")}), 17},
        MalformedCase{"missing space", Cat({B("Height"), B({0xc2, 0x01, 0, 0, 0, 0, 0, 0})}), 6},
        MalformedCase{"other separator", Cat({B("Width="), B({0x44, 0x02, 0, 0, 0, 0, 0, 0})}), 5},
        MalformedCase{"digit in the name", Cat({B("Width2 "), B({0, 0, 0, 0, 0, 0, 0, 0})}), 5},
        MalformedCase{"unknown name", Cat({B("Depth "), B({0, 0, 0, 0, 0, 0, 0, 0})}), 0},
        MalformedCase{"unknown second name", Cat({kWidth580, B("Depth "), B({0})}), 14},
        MalformedCase{"name in the wrong case", Cat({B("width "), B({0, 0, 0, 0, 0, 0, 0, 0})}), 0},
        MalformedCase{"leading space", Cat({B(" Width "), B({0, 0, 0, 0, 0, 0, 0, 0})}), 0},
        MalformedCase{"no name at all", B({0}), 0},
        MalformedCase{"high byte in the name", B({'W', 0xc3, 0xa9, ' '}), 1},
        MalformedCase{"text count cut short", Cat({B("Name "), B({5, 0})}), 5},
        MalformedCase{"text count past the end", Cat({B("Name "), B({6, 0, 0, 0}), B("RdFld")}), 5},
        MalformedCase{"text count far past the end",
                      Cat({B("Name "), B({0xff, 0xff, 0xff, 0xff}), B("RdFld")}), 5},
        MalformedCase{"text count past the end, second entry",
                      Cat({kWidth580, B("Title "), B({1, 0, 0, 0})}), 20},
        MalformedCase{"boolean of 2", Cat({B("Visible "), B({2})}), 8},
        MalformedCase{"boolean of 255", Cat({kWidth580, B("Enabled "), B({0xff})}), 22},
        MalformedCase{"boolean missing", B("Visible "), 8},
        MalformedCase{"colour cut short", Cat({B("TextColor "), B({1, 2, 3})}), 10},
        MalformedCase{"font size cut short", Cat({B("FontSize "), B({0, 0, 0x60})}), 9},
        MalformedCase{"line spacing cut short", Cat({B("LineSpacing "), B({0, 0, 0, 0})}), 12},
        MalformedCase{"font unit missing", B("FontUnit "), 9},
        MalformedCase{"junk after a good entry", Cat({kWidth580, B({0})}), 14}));

// Every prefix of a good list either ends on an entry boundary and decodes to
// the entries so far, or is refused at or before its end. Run under the
// address sanitizer, this also shows that no cut makes the decoder read past
// the bytes it is given.
TEST(LayoutList, EveryPrefixOfAGoodList) {
    const Bytes whole = ToBytes(kEveryType);
    const auto entries = pl::Decode(whole);
    std::vector<std::size_t> boundaries{0};
    for (std::size_t i = 1; i <= entries.size(); ++i) {
        boundaries.push_back(
            pl::Encode(std::vector<pl::Entry>(entries.begin(),
                                              entries.begin() + static_cast<std::ptrdiff_t>(i)))
                .size());
    }
    for (std::size_t len = 0; len < whole.size(); ++len) {
        // A copy of exactly `len` bytes, so a read past it is caught.
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(len));
        const auto boundary = std::find(boundaries.begin(), boundaries.end(), len);
        if (boundary != boundaries.end()) {
            const auto count = static_cast<std::size_t>(boundary - boundaries.begin());
            EXPECT_EQ(pl::Decode(prefix).size(), count) << "prefix of " << len;
        } else {
            try {
                pl::Decode(prefix);
                ADD_FAILURE() << "prefix of " << len << " decoded";
            } catch (const pl::DecodeError& e) {
                EXPECT_LE(e.offset(), len) << "prefix of " << len;
            }
        }
    }
}

}  // namespace
