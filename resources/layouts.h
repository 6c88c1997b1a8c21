// The layout lists of the program's three windows and their controls: constant
// bytes made at build time, from which each window and control is initialised
// when its window is built.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace resources {

using LayoutList = std::span<const std::uint8_t>;

// The authorship notice: the About window's, and the application's long version.
inline constexpr std::string_view kAuthorshipNotice = "\u00a9 2009-2020 The Tamsavik Authors";

namespace controlWnd {
LayoutList Window();
LayoutList RdFld();
LayoutList RdText();
LayoutList StaticText1();
LayoutList RxxFld();
LayoutList StaticText2();
LayoutList RyyFld();
LayoutList StaticText3();
LayoutList RxyFld();
LayoutList StaticText6();
LayoutList ComputeCanvas();
LayoutList ClearCanvas();
LayoutList HelpCanvas();
LayoutList Canvas1();
LayoutList Canvas2();
}  // namespace controlWnd

namespace aboutWnd {
LayoutList Window();
LayoutList StaticText2();
LayoutList Canvas1();
LayoutList Timer1();
LayoutList Label1();
}  // namespace aboutWnd

namespace helpWnd {
LayoutList Window();
LayoutList EditField1();
}  // namespace helpWnd

}  // namespace resources
