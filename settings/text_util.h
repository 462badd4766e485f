#pragma once

#include <string>
#include <string_view>

namespace vantro {

// Empty is false; then, upper-cased: first character T true, F false; the
// whole text ON true, OFF false; a first digit is false only for 0; anything
// else false.
bool ParseBool(std::string_view text);

// Decodes C escapes: \" \' \? \\ \a \b \f \n \r \t \v, \x with hexadecimal
// digits and octal digits (low 8 bits used). Anything else keeps its
// backslash.
std::string UnescapeC(std::string_view text);

// The inverse of UnescapeC: backslashes and control bytes as escapes, so the
// text fits on one line and decodes to itself.
std::string EscapeC(std::string_view text);

}  // namespace vantro
