#include "settings/text_util.h"

#include "base/text.h"

namespace vantro {

namespace {

// Octal escapes take at most three digits, so "\0123" is byte 012 then '3'.
constexpr int kMaxOctalDigits = 3;

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The byte of a single-character escape, or -1 when `c` starts none.
int SimpleEscape(char c) {
  switch (c) {
    case '"':
    case '\'':
    case '?':
    case '\\':
      return static_cast<unsigned char>(c);
    case 'a':
      return 7;
    case 'b':
      return 8;
    case 'f':
      return 12;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 't':
      return 9;
    case 'v':
      return 11;
    default:
      return -1;
  }
}

}  // namespace

bool ParseBool(std::string_view text) {
  if (text.empty()) return false;
  const std::string upper = ToUpper(text);
  const char first = upper[0];
  if (first == 'T') return true;
  if (first == 'F') return false;
  if (upper == "ON") return true;
  if (upper == "OFF") return false;
  if (first >= '0' && first <= '9') return first != '0';
  return false;
}

std::string UnescapeC(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      ++i;
      continue;
    }
    const char next = text[i + 1];
    if (const int simple = SimpleEscape(next); simple >= 0) {
      out += static_cast<char>(simple);
      i += 2;
    } else if (next == 'x') {
      std::size_t j = i + 2;
      if (j == text.size() || HexDigitValue(text[j]) < 0) {
        out += "\\x";
        i += 2;
        continue;
      }
      // Only the low 8 bits count, so accumulate modulo 256: no overflow on
      // an arbitrarily long run of digits.
      unsigned value = 0;
      for (; j < text.size() && HexDigitValue(text[j]) >= 0; ++j) {
        value = (value * 16 + static_cast<unsigned>(HexDigitValue(text[j]))) & 0xFFu;
      }
      out += static_cast<char>(value);
      i = j;
    } else if (IsOctalDigit(next)) {
      unsigned value = 0;
      std::size_t j = i + 1;
      for (int n = 0; n < kMaxOctalDigits && j < text.size() && IsOctalDigit(text[j]); ++n, ++j) {
        value = value * 8 + static_cast<unsigned>(text[j] - '0');
      }
      out += static_cast<char>(value & 0xFFu);
      i = j;
    } else {
      // Unknown escape: keep the backslash; the next character is plain text.
      out += c;
      ++i;
    }
  }
  return out;
}

std::string EscapeC(std::string_view text) {
  static constexpr std::string_view kBytes = "\\\a\b\f\n\r\t\v";
  static constexpr std::string_view kLetters = "\\abfnrtv";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t named = kBytes.find(c);
    if (named == std::string_view::npos && byte >= 0x20 && byte != 0x7f) {
      out += c;
    } else if (named != std::string_view::npos) {
      out += '\\';
      out += kLetters[named];
    } else {
      // Three octal digits: a following digit can never join the escape.
      out += '\\';
      out += static_cast<char>('0' + (byte >> 6));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
    }
  }
  return out;
}

}  // namespace vantro
