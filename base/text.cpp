#include "base/text.h"

#include <algorithm>
#include <climits>

namespace vantro {

std::string_view WordCursor::Next() {
  while (pos_ < text_.size() && delimiters_.Has(text_[pos_])) ++pos_;
  std::size_t start = pos_;
  while (pos_ < text_.size() && !delimiters_.Has(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string_view GetWord(std::string_view text, int n, std::string_view delimiters) {
  WordCursor words(text, delimiters);
  for (int i = 1;; ++i) {
    std::string_view word = words.Next();
    if (word.empty() || i == n) return word;
  }
}

std::vector<std::string_view> SplitWords(std::string_view text, std::string_view delimiters) {
  std::vector<std::string_view> words;
  words.reserve(16);
  WordCursor cursor(text, delimiters);
  for (std::string_view word = cursor.Next(); !word.empty(); word = cursor.Next()) {
    words.push_back(word);
  }
  return words;
}

char ToUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = ToUpper(c);
  return result;
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
  return static_cast<int>(std::clamp<long long>(ParseInt64(text), INT_MIN, INT_MAX));
}

}  // namespace vantro
