#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantro {

// The blank set that separates words and is trimmed from line ends everywhere.
inline constexpr std::string_view kBlanks = " \t\n\r\v\f";

// Walks the words of a text once: each Next() is the next maximal run of
// characters not in `delimiters`, empty at the end. Asking for word n afresh
// each time would rescan the text and make a long line quadratic.
class WordCursor {
 public:
  explicit WordCursor(std::string_view text, std::string_view delimiters = kBlanks)
      : text_(text), delimiters_(delimiters) {}
  std::string_view Next();

 private:
  // Delimiters as a bit per byte value: every line the engine prints is cut
  // into words, and a search of the delimiter text per byte costs a call each.
  class ByteSet {
   public:
    explicit ByteSet(std::string_view bytes) {
      for (char c : bytes) bits_[Index(c) >> 6] |= std::uint64_t{1} << (Index(c) & 63);
    }
    bool Has(char c) const { return (bits_[Index(c) >> 6] >> (Index(c) & 63)) & 1; }

   private:
    static unsigned Index(char c) { return static_cast<unsigned char>(c); }
    std::uint64_t bits_[4] = {};
  };

  std::string_view text_;
  std::size_t pos_ = 0;
  ByteSet delimiters_;
};

// The n-th word of `text` (n counted from 1): a maximal run of characters not
// in `delimiters`. Empty when the text has fewer than n words.
std::string_view GetWord(std::string_view text, int n, std::string_view delimiters = kBlanks);

// All words of `text`, in order; one pass, for lines with many words.
std::vector<std::string_view> SplitWords(std::string_view text,
                                         std::string_view delimiters = kBlanks);

// a-z become A-Z; other bytes are unchanged.
char ToUpper(char c);
std::string ToUpper(std::string_view text);

// `text` without leading and trailing blanks.
std::string_view Trim(std::string_view text);

// Decimal number at the start of `text`, as the C library reads it: leading
// blanks, an optional sign, digits; no digits gives 0. Saturates at the
// 32-bit range instead of overflowing.
int ParseInt(std::string_view text);
// The same in 64 bits, for node counts.
long long ParseInt64(std::string_view text);

}  // namespace vantro
