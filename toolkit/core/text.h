// Text and number services: the character code of a key, text to number,
// number to text by a mask, and the two arithmetic helpers the calculator uses.
// Plain C++ with no user-interface dependency, so the calculator's decisions
// can be built and tested on their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tk {

// Code point of the first character of a UTF-8 text; 0 for the empty text.
// A malformed first byte yields the byte's own value.
std::int64_t Asc(std::string_view text);

// Text to number, the same in every locale. Blanks and characters that show
// nothing (Unicode spaces, the no-break space among them, format and control
// characters) are ignored at either end; what remains must be wholly one
// decimal number: an optional sign, digits with at most one decimal point and
// at least one digit, then an optional exponent ("e", an optional sign and
// digits). Anything else, the empty text included, is NaN, so that a text
// that is not a number can never pass for one. "inf", "nan" and hexadecimal
// texts are not numbers here. A magnitude too large for a double is an
// infinity of its sign; one too small is zero of its sign.
double Val(std::string_view text);

// `text` without the blanks and characters that show nothing at either end:
// what Val ignores.
std::string_view TrimInvisible(std::string_view text);

// Formats a value by a mask. Mask characters:
//   '#'  a digit where significant (leading zeros and trailing fraction zeros are left out)
//   '0'  a digit always
//   '.'  the decimal point (the first one in the mask)
//   ','  digit grouping by thousands in the integer part
//   anything else is copied as it stands.
// The value is rounded to the mask's fraction places from its exact binary value
// (correctly rounded, ties to even). Digits left of the point are never dropped. A
// negative value's minus sign stands before its first digit, or before the point
// when there is no digit left of it; a value that rounds to zero has no sign.
// Non-finite values give fixed texts that cannot pass for a number:
// "INF", "-INF" and "NAN".
std::string Format(double value, std::string_view mask);

double Sqrt(double x);
double Pow(double base, double exponent);

inline bool IsEmptyText(std::string_view text) {
    return text.empty();
}

}  // namespace tk
