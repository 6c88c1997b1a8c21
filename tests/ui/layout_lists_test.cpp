// The program's 22 layout lists: each decodes whole, the lists that matter
// most equal an encoding of their table written out here, and each control's
// list names the control its window registers.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "resources/help_text.h"
#include "resources/layouts.h"
#include "tests/ui/ui_support.h"
#include "toolkit/core/proplist.h"
#include "toolkit/picture.h"
#include "windows/AboutWnd.h"
#include "windows/helpWnd.h"

namespace {

namespace pl = tk::plist;
using Table = std::vector<pl::Entry>;
using Bytes = std::vector<std::uint8_t>;

// Entries by type: integer, boolean, text, font size, font unit and colour.
const auto I = [](const char* name, std::int64_t v) { return pl::Entry{name, v}; };
const auto B = [](const char* name, bool v) { return pl::Entry{name, v}; };
const auto T = [](const char* name, const char* v) { return pl::Entry{name, std::string(v)}; };
const auto F = [](const char* name, float v) { return pl::Entry{name, pl::FontSize{v}}; };
const auto U = [](const char* name, std::uint8_t v) { return pl::Entry{name, pl::FontUnit{v}}; };
const auto C = [](const char* name, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    return pl::Entry{name, pl::Colour{{b, g, r, 0}}};
};

constexpr std::int64_t kSingle = -2147483648LL;  // a control that is not one of an array

Bytes ToBytes(resources::LayoutList list) {
    return Bytes(list.begin(), list.end());
}

// The intended tables. Colours are stored as B, G, R, A with alpha 0 opaque:
// white backgrounds, black field text and navy label text.
// clang-format off
const Table kMainWindowTable{
    I("Width", 580), I("Height", 450), I("MinimumWidth", 64), I("MinimumHeight", 64),
    I("MaximumWidth", 32000), I("MaximumHeight", 32000), I("Type", 0), T("Title", "Dravenhal"),
    B("HasCloseButton", true), B("HasMaximizeButton", false), B("HasMinimizeButton", true),
    B("HasFullScreenButton", false), B("Resizeable", false), B("Composite", true),
    I("MacProcID", 0), B("FullScreen", false), I("DefaultLocation", 0), B("Visible", true),
    B("HasBackgroundColor", true), C("BackgroundColor", 0xff, 0xff, 0xff),
    B("MenuBarVisible", true), B("LiveResize", false)};

const Table kRdFldTable{
    T("Name", "RdFld"), I("Index", kSingle), I("Left", 250), I("Top", 247), I("Width", 80),
    I("Height", 22), B("LockLeft", false), B("LockTop", false), B("LockRight", false),
    B("LockBottom", false), I("TabIndex", 4), I("TabPanelIndex", 0), B("TabStop", false),
    B("AllowAutoDeactivate", true), C("BackgroundColor", 0xff, 0xff, 0xff),
    B("HasBorder", true), B("Enabled", true), T("Format", ""), T("Tooltip", "Dravenhal"),
    B("Password", false), C("TextColor", 0x00, 0x00, 0x00), B("Transparent", true),
    B("AllowFocusRing", false), B("Visible", false), T("FontName", "System"),
    F("FontSize", 14), U("FontUnit", 0), B("Bold", false), B("Italic", false),
    B("Underline", false), T("Hint", ""), T("Value", ""), B("AllowTabs", false),
    I("TextAlignment", 2), B("AllowSpellChecking", false), I("MaximumCharactersAllowed", 6),
    T("ValidationMask", ""), B("ReadOnly", true), T("DataSource", ""), T("DataField", ""),
    T("InitialParent", "")};

// Transparent is listed twice.
const Table kComputeCanvasTable{
    T("Name", "ComputeCanvas"), I("Index", kSingle), I("Left", 30), I("Top", 385),
    I("Width", 95), I("Height", 33), B("LockLeft", false), B("LockTop", false),
    B("LockRight", false), B("LockBottom", false), I("TabIndex", 27), I("TabPanelIndex", 0),
    B("TabStop", true), B("AllowAutoDeactivate", true), B("Enabled", true), T("Tooltip", ""),
    B("AllowFocusRing", true), B("Visible", true), B("AllowFocus", false),
    B("AllowTabs", false), B("Transparent", true), B("DoubleBuffer", false),
    B("Transparent", true), T("InitialParent", "")};

const Table kAboutTimerTable{I("Period", 4000), I("RunMode", 1)};

// The About window's labels list their entries in another order.
const Table kAboutLabel1Table{
    T("InitialParent", ""), T("DataField", ""), T("DataSource", ""), B("Underline", false),
    B("Italic", false), B("Bold", true), B("Visible", true), B("Transparent", false),
    C("TextColor", 0x80, 0x00, 0x00), B("Selectable", false), B("Multiline", false),
    B("Enabled", true), B("TabStop", false), I("TabPanelIndex", 0), I("TabIndex", 5),
    B("LockBottom", false), B("LockRight", false), B("LockTop", true), B("LockLeft", true),
    I("Height", 63), I("Width", 287), I("Top", 36), I("Left", 179), I("Index", kSingle),
    T("Name", "Label1"), B("AllowAutoDeactivate", true), T("Tooltip", ""),
    I("TextAlignment", 2), T("Value", "Tamsavik"), T("FontName", "System"), F("FontSize", 34),
    U("FontUnit", 0)};
// clang-format on

TEST(LayoutLists, EachDecodesWholeAndEncodesBackToItsBytes) {
    const auto lists = resources::AllLayoutLists();
    ASSERT_EQ(lists.size(), 22u);
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (const auto& list : lists) {
        SCOPED_TRACE(std::string(list.window) + "." + std::string(list.control));
        EXPECT_TRUE(seen.emplace(list.window, list.control).second) << "listed twice";
        ASSERT_FALSE(list.bytes.empty());
        Table entries;
        ASSERT_NO_THROW(entries = pl::Decode(list.bytes));
        EXPECT_EQ(pl::Encode(entries), ToBytes(list.bytes));
    }
}

TEST(LayoutLists, KeyListsEqualTheirTables) {
    const struct {
        const char* what;
        resources::LayoutList bytes;
        Table table;
    } kLists[] = {
        {"the main window", resources::controlWnd::Window(), kMainWindowTable},
        {"RdFld", resources::controlWnd::RdFld(), kRdFldTable},
        {"ComputeCanvas", resources::controlWnd::ComputeCanvas(), kComputeCanvasTable},
        {"the About window's timer", resources::aboutWnd::Timer1(), kAboutTimerTable},
        {"the About window's name", resources::aboutWnd::Label1(), kAboutLabel1Table},
    };
    for (const auto& list : kLists) {
        EXPECT_EQ(pl::Decode(list.bytes), list.table) << list.what;
    }
    EXPECT_EQ(resources::aboutWnd::Timer1().size(), 31u);
}

// The texts of a list's entries of one name.
std::vector<std::string> TextsIn(resources::LayoutList list, const std::string& name) {
    std::vector<std::string> texts;
    for (const pl::Entry& entry : pl::Decode(list)) {
        if (entry.name == name) texts.push_back(std::get<std::string>(entry.value));
    }
    return texts;
}

TEST(LayoutLists, TheHelpTextAreaCarriesTheWholeHelpText) {
    EXPECT_EQ(resources::helpWnd::EditField1().size(), 3597u);
    const auto values = TextsIn(resources::helpWnd::EditField1(), "Value");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].size(), 2917u);
    EXPECT_EQ(values[0], resources::kHelpText);
}

TEST(LayoutLists, EachControlsListNamesTheControlItsWindowRegisters) {
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    const std::map<std::string, tk::Window*> windows{
        {"ControlWnd", &ControlWnd::Instance()},
        {"AboutWnd", &AboutWnd::Instance()},
        {"helpWnd", &helpWnd::Instance()},
    };
    // The lists of each window's controls, in the order the window makes them.
    std::map<std::string, std::vector<resources::NamedLayoutList>> listed;
    for (const auto& list : resources::AllLayoutLists()) {
        ASSERT_TRUE(windows.contains(std::string(list.window))) << list.window;
        if (!list.control.empty()) listed[std::string(list.window)].push_back(list);
    }
    for (const auto& [windowName, window] : windows) {
        SCOPED_TRACE(windowName);
        const std::vector<tk::Object*> controls = window->Controls();
        const auto& lists = listed[windowName];
        ASSERT_EQ(controls.size(), lists.size());
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const std::string name(lists[i].control);
            SCOPED_TRACE(name);
            EXPECT_EQ(window->ControlByName(name), controls[i]);
            if (auto* rect = dynamic_cast<tk::RectControl*>(controls[i])) {
                EXPECT_EQ(TextsIn(lists[i].bytes, "Name"), std::vector<std::string>{name});
                EXPECT_EQ(rect->Name(), name);
                EXPECT_EQ(uitest::WidgetOf(*rect)->objectName().toStdString(), name);
            } else {
                // The timer is no RectControl and carries no Name entry.
                EXPECT_TRUE(TextsIn(lists[i].bytes, "Name").empty());
            }
        }
    }
}

}  // namespace
