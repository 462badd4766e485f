#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantro {

// The blank set that separates words and is trimmed from line ends everywhere.
inline constexpr std::string_view kBlanks = " \t\n\r\v\f";

// The n-th word of `text` (n counted from 1): a maximal run of characters not
// in `delimiters`. Empty when the text has fewer than n words.
std::string_view GetWord(std::string_view text, int n, std::string_view delimiters = kBlanks);

// All words of `text`, in order; one pass, for lines with many words.
std::vector<std::string_view> SplitWords(std::string_view text,
                                         std::string_view delimiters = kBlanks);

// `text` without leading and trailing blanks.
std::string_view Trim(std::string_view text);

// Decimal number at the start of `text`, as the C library reads it: leading
// blanks, an optional sign, digits; no digits gives 0. Saturates at the
// 32-bit range instead of overflowing.
int ParseInt(std::string_view text);
// The same in 64 bits, for node counts.
long long ParseInt64(std::string_view text);

}  // namespace vantro
