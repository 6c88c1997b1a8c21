#include "resources/layouts.h"

#include <array>

#include "resources/help_text.h"
#include "toolkit/core/proplist.h"

namespace resources {

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Rgb;
using tk::plist::Row;
using tk::plist::Size;
using tk::plist::Spacing;
using tk::plist::Text;
using tk::plist::Unit;

constexpr std::int64_t kSingle = -2147483648;  // a single control, not one of an array

// The window lists share their shape; they differ in size, kind, title and buttons.
struct WindowLook {
    std::int64_t width, height, type;
    std::string_view title;
    bool maximize, resizeable, composite;
    std::int64_t defaultLocation;
    bool hasBackground;
};

constexpr std::array<Row, 22> WindowRows(const WindowLook& w) {
    return {{
        Int("Width", w.width),
        Int("Height", w.height),
        Int("MinimumWidth", 64),
        Int("MinimumHeight", 64),
        Int("MaximumWidth", 32000),
        Int("MaximumHeight", 32000),
        Int("Type", w.type),
        Text("Title", w.title),
        Bool("HasCloseButton", true),
        Bool("HasMaximizeButton", w.maximize),
        Bool("HasMinimizeButton", true),
        Bool("HasFullScreenButton", false),
        Bool("Resizeable", w.resizeable),
        Bool("Composite", w.composite),
        Int("MacProcID", 0),
        Bool("FullScreen", false),
        Int("DefaultLocation", w.defaultLocation),
        Bool("Visible", true),
        Bool("HasBackgroundColor", w.hasBackground),
        Rgb("BackgroundColor", 0xff, 0xff, 0xff, 0x00),
        Bool("MenuBarVisible", true),
        Bool("LiveResize", false),
    }};
}

// --- The main window ---------------------------------------------------------------

constexpr auto kControlWndRows = WindowRows({.width = 580,
                                             .height = 450,
                                             .type = 0,
                                             .title = "Dravenhal",
                                             .maximize = false,
                                             .resizeable = false,
                                             .composite = true,
                                             .defaultLocation = 0,
                                             .hasBackground = true});
LAYOUT_LIST(kControlWnd, kControlWndRows);

struct FieldLook {
    std::string_view name;
    std::int64_t left, top, tabIndex;
    bool tabStop;
    std::string_view tooltip;
    bool focusRing, visible, readOnly;
};

constexpr std::array<Row, 41> FieldRows(const FieldLook& f) {
    return {{
        Text("Name", f.name),
        Int("Index", kSingle),
        Int("Left", f.left),
        Int("Top", f.top),
        Int("Width", 80),
        Int("Height", 22),
        Bool("LockLeft", false),
        Bool("LockTop", false),
        Bool("LockRight", false),
        Bool("LockBottom", false),
        Int("TabIndex", f.tabIndex),
        Int("TabPanelIndex", 0),
        Bool("TabStop", f.tabStop),
        Bool("AllowAutoDeactivate", true),
        Rgb("BackgroundColor", 0xff, 0xff, 0xff, 0x00),
        Bool("HasBorder", true),
        Bool("Enabled", true),
        Text("Format", ""),
        Text("Tooltip", f.tooltip),
        Bool("Password", false),
        Rgb("TextColor", 0x00, 0x00, 0x00, 0x00),
        Bool("Transparent", true),
        Bool("AllowFocusRing", f.focusRing),
        Bool("Visible", f.visible),
        Text("FontName", "System"),
        Size("FontSize", 14),
        Unit("FontUnit", 0),
        Bool("Bold", false),
        Bool("Italic", false),
        Bool("Underline", false),
        Text("Hint", ""),
        Text("Value", ""),
        Bool("AllowTabs", false),
        Int("TextAlignment", 2),
        Bool("AllowSpellChecking", false),
        Int("MaximumCharactersAllowed", 6),
        Text("ValidationMask", ""),
        Bool("ReadOnly", f.readOnly),
        Text("DataSource", ""),
        Text("DataField", ""),
        Text("InitialParent", ""),
    }};
}

constexpr auto kRdFldRows =
    FieldRows({"RdFld", 250, 247, 4, false, "Dravenhal", false, false, true});
constexpr auto kRxxFldRows = FieldRows({"RxxFld", 127, 172, 15, true, "", true, true, false});
constexpr auto kRyyFldRows = FieldRows({"RyyFld", 250, 172, 17, true, "", true, true, false});
constexpr auto kRxyFldRows = FieldRows({"RxyFld", 373, 172, 19, true, "", true, true, false});
LAYOUT_LIST(kRdFld, kRdFldRows);
LAYOUT_LIST(kRxxFld, kRxxFldRows);
LAYOUT_LIST(kRyyFld, kRyyFldRows);
LAYOUT_LIST(kRxyFld, kRxyFldRows);

struct LabelLook {
    std::string_view name;
    std::int64_t left, top, width, height, tabIndex;
    bool multiline;
    std::string_view value;
    bool visible, bold;
    float fontSize;
};

constexpr std::array<Row, 32> LabelRows(const LabelLook& l) {
    return {{
        Text("Name", l.name),
        Int("Index", kSingle),
        Int("Left", l.left),
        Int("Top", l.top),
        Int("Width", l.width),
        Int("Height", l.height),
        Bool("LockLeft", false),
        Bool("LockTop", false),
        Bool("LockRight", false),
        Bool("LockBottom", false),
        Int("TabIndex", l.tabIndex),
        Int("TabPanelIndex", 0),
        Bool("TabStop", false),
        Bool("AllowAutoDeactivate", true),
        Bool("Enabled", false),
        Text("Tooltip", ""),
        Bool("Multiline", l.multiline),
        Bool("Selectable", false),
        Int("TextAlignment", 2),
        Rgb("TextColor", 0x80, 0x00, 0x00, 0x00),
        Bool("Transparent", true),
        Text("Value", l.value),
        Bool("Visible", l.visible),
        Bool("Bold", l.bold),
        Bool("Italic", false),
        Text("FontName", "System"),
        Bool("Underline", false),
        Size("FontSize", l.fontSize),
        Unit("FontUnit", 0),
        Text("DataSource", ""),
        Text("DataField", ""),
        Text("InitialParent", ""),
    }};
}

constexpr auto kRdTextRows = LabelRows(
    {"RdText", 235, 271, 110, 30, 11, true, "Partial r\rbetween X1 and Y", false, true, 12});
constexpr auto kStaticText1Rows =
    LabelRows({"StaticText1", 127, 196, 80, 31, 14, true, "r between\rY and X1", true, true, 12});
constexpr auto kStaticText2Rows =
    LabelRows({"StaticText2", 250, 196, 80, 31, 16, true, "r between\rY and X2", true, true, 12});
constexpr auto kStaticText3Rows =
    LabelRows({"StaticText3", 373, 196, 80, 31, 18, true, "r between\rX1 and X2", true, true, 12});
constexpr auto kStaticText6Rows = LabelRows(
    {"StaticText6", 88, 73, 478, 14, 20, false, "by The Tamsavik Authors", true, false, 10});
LAYOUT_LIST(kRdText, kRdTextRows);
LAYOUT_LIST(kStaticText1, kStaticText1Rows);
LAYOUT_LIST(kStaticText2, kStaticText2Rows);
LAYOUT_LIST(kStaticText3, kStaticText3Rows);
LAYOUT_LIST(kStaticText6, kStaticText6Rows);

struct CanvasLook {
    std::string_view name;
    std::int64_t left, top, width, height, tabIndex;
    bool tabStop, autoDeactivate, focusRing;
};

constexpr std::array<Row, 24> CanvasRows(const CanvasLook& c) {
    return {{
        Text("Name", c.name),
        Int("Index", kSingle),
        Int("Left", c.left),
        Int("Top", c.top),
        Int("Width", c.width),
        Int("Height", c.height),
        Bool("LockLeft", false),
        Bool("LockTop", false),
        Bool("LockRight", false),
        Bool("LockBottom", false),
        Int("TabIndex", c.tabIndex),
        Int("TabPanelIndex", 0),
        Bool("TabStop", c.tabStop),
        Bool("AllowAutoDeactivate", c.autoDeactivate),
        Bool("Enabled", true),
        Text("Tooltip", ""),
        Bool("AllowFocusRing", c.focusRing),
        Bool("Visible", true),
        Bool("AllowFocus", false),
        Bool("AllowTabs", false),
        Bool("Transparent", true),
        Bool("DoubleBuffer", false),
        Bool("Transparent", true),
        Text("InitialParent", ""),
    }};
}

constexpr auto kComputeCanvasRows =
    CanvasRows({"ComputeCanvas", 30, 385, 95, 33, 27, true, true, true});
constexpr auto kClearCanvasRows =
    CanvasRows({"ClearCanvas", 455, 385, 95, 33, 28, true, true, true});
constexpr auto kHelpCanvasRows = CanvasRows({"HelpCanvas", 242, 385, 95, 33, 29, true, true, true});
constexpr auto kCanvas1Rows = CanvasRows({"Canvas1", 88, 2, 479, 70, 30, false, false, false});
constexpr auto kCanvas2Rows = CanvasRows({"Canvas2", 15, 11, 56, 55, 31, true, true, true});
LAYOUT_LIST(kComputeCanvas, kComputeCanvasRows);
LAYOUT_LIST(kClearCanvas, kClearCanvasRows);
LAYOUT_LIST(kHelpCanvas, kHelpCanvasRows);
LAYOUT_LIST(kCanvas1, kCanvas1Rows);
LAYOUT_LIST(kCanvas2, kCanvas2Rows);

// --- The About window ----------------------------------------------------------------

constexpr auto kAboutWndRows = WindowRows({.width = 500,
                                           .height = 200,
                                           .type = 2,
                                           .title = "",
                                           .maximize = true,
                                           .resizeable = true,
                                           .composite = false,
                                           .defaultLocation = 0,
                                           .hasBackground = true});
LAYOUT_LIST(kAboutWnd, kAboutWndRows);

struct AboutLabelLook {
    std::string_view name;
    bool bold, transparent, multiline;
    std::int64_t tabIndex;
    bool locked;
    std::int64_t height, width, top;
    std::string_view value;
    float fontSize;
};

// The About window's labels keep their rows in another order than the main window's.
constexpr std::array<Row, 32> AboutLabelRows(const AboutLabelLook& l) {
    return {{
        Text("InitialParent", ""),
        Text("DataField", ""),
        Text("DataSource", ""),
        Bool("Underline", false),
        Bool("Italic", false),
        Bool("Bold", l.bold),
        Bool("Visible", true),
        Bool("Transparent", l.transparent),
        Rgb("TextColor", 0x80, 0x00, 0x00, 0x00),
        Bool("Selectable", false),
        Bool("Multiline", l.multiline),
        Bool("Enabled", true),
        Bool("TabStop", false),
        Int("TabPanelIndex", 0),
        Int("TabIndex", l.tabIndex),
        Bool("LockBottom", false),
        Bool("LockRight", false),
        Bool("LockTop", l.locked),
        Bool("LockLeft", l.locked),
        Int("Height", l.height),
        Int("Width", l.width),
        Int("Top", l.top),
        Int("Left", 179),
        Int("Index", kSingle),
        Text("Name", l.name),
        Bool("AllowAutoDeactivate", true),
        Text("Tooltip", ""),
        Int("TextAlignment", 2),
        Text("Value", l.value),
        Text("FontName", "System"),
        Size("FontSize", l.fontSize),
        Unit("FontUnit", 0),
    }};
}

constexpr auto kAboutStaticText2Rows = AboutLabelRows(
    {"StaticText2", false, true, true, 3, false, 15, 279, 111, kAuthorshipNotice, 10});
constexpr auto kAboutLabel1Rows =
    AboutLabelRows({"Label1", true, false, false, 5, true, 63, 287, 36, "Tamsavik", 34});
LAYOUT_LIST(kAboutStaticText2, kAboutStaticText2Rows);
LAYOUT_LIST(kAboutLabel1, kAboutLabel1Rows);

constexpr Row kAboutCanvas1Rows[] = {
    Text("InitialParent", ""),
    Bool("Transparent", true),
    Bool("DoubleBuffer", false),
    Bool("Visible", true),
    Bool("Enabled", true),
    Bool("TabStop", true),
    Int("TabPanelIndex", 0),
    Int("TabIndex", 4),
    Bool("LockBottom", false),
    Bool("LockRight", false),
    Bool("LockTop", false),
    Bool("LockLeft", false),
    Int("Height", 128),
    Int("Width", 147),
    Int("Top", 36),
    Int("Left", 20),
    Int("Index", kSingle),
    Text("Name", "Canvas1"),
    Bool("AllowAutoDeactivate", true),
    Text("Tooltip", ""),
    Bool("AllowFocusRing", true),
    Bool("AllowFocus", false),
    Bool("AllowTabs", false),
};
LAYOUT_LIST(kAboutCanvas1, kAboutCanvas1Rows);

constexpr Row kAboutTimer1Rows[] = {
    Int("Period", 4000),
    Int("RunMode", 1),
};
LAYOUT_LIST(kAboutTimer1, kAboutTimer1Rows);

// --- The help window -----------------------------------------------------------------

constexpr auto kHelpWndRows = WindowRows({.width = 550,
                                          .height = 500,
                                          .type = 0,
                                          .title = "Mirrowin Info",
                                          .maximize = false,
                                          .resizeable = false,
                                          .composite = false,
                                          .defaultLocation = 3,
                                          .hasBackground = false});
LAYOUT_LIST(kHelpWnd, kHelpWndRows);

constexpr Row kEditField1Rows[] = {
    Text("Name", "EditField1"),
    Int("Index", kSingle),
    Int("Left", -1),
    Int("Top", -1),
    Int("Width", 551),
    Int("Height", 498),
    Bool("LockLeft", false),
    Bool("LockTop", false),
    Bool("LockRight", false),
    Bool("LockBottom", false),
    Int("TabIndex", 0),
    Int("TabPanelIndex", 0),
    Bool("TabStop", false),
    Bool("Enabled", true),
    Text("Format", ""),
    Bool("HideSelection", true),
    Int("LineHeight", 0),
    Spacing("LineSpacing", 1.0),
    Bool("Multiline", true),
    Rgb("TextColor", 0x00, 0x00, 0x00, 0x00),
    Bool("Transparent", true),
    Bool("Visible", true),
    Bool("Bold", false),
    Bool("Italic", false),
    Bool("Underline", false),
    Bool("ReadOnly", false),
    Text("DataSource", ""),
    Text("DataField", ""),
    Text("InitialParent", ""),
    Bool("AllowAutoDeactivate", true),
    Rgb("BackgroundColor", 0xff, 0xff, 0xff, 0x00),
    Bool("HasBorder", true),
    Text("Tooltip", ""),
    Bool("HasHorizontalScrollbar", false),
    Bool("HasVerticalScrollbar", true),
    Bool("AllowStyledText", true),
    Bool("AllowFocusRing", true),
    Text("FontName", "System"),
    Size("FontSize", 12),
    Unit("FontUnit", 0),
    Text("Value", kHelpText),
    Bool("AllowTabs", false),
    Int("TextAlignment", 0),
    Bool("AllowSpellChecking", true),
    Int("MaximumCharactersAllowed", 0),
    Text("ValidationMask", ""),
};
LAYOUT_LIST(kEditField1, kEditField1Rows);

}  // namespace

namespace controlWnd {
LayoutList Window() {
    return kControlWnd;
}
LayoutList RdFld() {
    return kRdFld;
}
LayoutList RdText() {
    return kRdText;
}
LayoutList StaticText1() {
    return kStaticText1;
}
LayoutList RxxFld() {
    return kRxxFld;
}
LayoutList StaticText2() {
    return kStaticText2;
}
LayoutList RyyFld() {
    return kRyyFld;
}
LayoutList StaticText3() {
    return kStaticText3;
}
LayoutList RxyFld() {
    return kRxyFld;
}
LayoutList StaticText6() {
    return kStaticText6;
}
LayoutList ComputeCanvas() {
    return kComputeCanvas;
}
LayoutList ClearCanvas() {
    return kClearCanvas;
}
LayoutList HelpCanvas() {
    return kHelpCanvas;
}
LayoutList Canvas1() {
    return kCanvas1;
}
LayoutList Canvas2() {
    return kCanvas2;
}
}  // namespace controlWnd

namespace aboutWnd {
LayoutList Window() {
    return kAboutWnd;
}
LayoutList StaticText2() {
    return kAboutStaticText2;
}
LayoutList Canvas1() {
    return kAboutCanvas1;
}
LayoutList Timer1() {
    return kAboutTimer1;
}
LayoutList Label1() {
    return kAboutLabel1;
}
}  // namespace aboutWnd

namespace helpWnd {
LayoutList Window() {
    return kHelpWnd;
}
LayoutList EditField1() {
    return kEditField1;
}
}  // namespace helpWnd

static_assert(kAboutTimer1.size() == 31);
static_assert(kEditField1.size() == 3597);

}  // namespace resources
