#include "base/text.h"

#include <climits>
#include <cstdint>

namespace vantro {

namespace {

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

// The next word of `text` at or after `pos`; empty at the end.
std::string_view NextWord(std::string_view text, std::size_t& pos, const ByteSet& delimiters) {
  while (pos < text.size() && delimiters.Has(text[pos])) ++pos;
  std::size_t start = pos;
  while (pos < text.size() && !delimiters.Has(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

}  // namespace

std::string_view GetWord(std::string_view text, int n, std::string_view delimiters) {
  ByteSet set(delimiters);
  std::size_t pos = 0;
  for (int i = 1;; ++i) {
    std::string_view word = NextWord(text, pos, set);
    if (word.empty() || i == n) return word;
  }
}

std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delimiters) {
  ByteSet set(delimiters);
  std::vector<std::string_view> words;
  words.reserve(16);
  std::size_t pos = 0;
  for (std::string_view word = NextWord(text, pos, set); !word.empty();
       word = NextWord(text, pos, set)) {
    words.push_back(word);
  }
  return words;
}

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };  // kBlanks
  std::size_t first = 0, end = text.size();
  while (first < end && blank(text[first])) ++first;
  while (end > first && blank(text[end - 1])) --end;
  return text.substr(first, end - first);
}

long long ParseInt64(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && kBlanks.find(text[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr long long kLimit = 9223372036854775807LL / 10 - 1;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

int ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && kBlanks.find(text[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1)
      value = static_cast<std::int64_t>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace vantro
