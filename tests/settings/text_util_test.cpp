#include "settings/text_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/text.h"

namespace vantro {
namespace {

using namespace std::string_literals;

struct WordCase {
  std::string text;
  int n;
  std::string delimiters;
  std::string expected;
};

TEST(GetWordTest, FindsTheNthRunOfNonDelimiters) {
  const WordCase cases[] = {
      {"setoption name Hash value 32", 3, std::string(kBlanks), "Hash"},
      {"  \t lead  and\r\ntrail \f", 2, std::string(kBlanks), "and"},
      {"  \t lead  and\r\ntrail \f", 3, std::string(kBlanks), "trail"},
      {"one two", 3, std::string(kBlanks), ""},
      {"", 1, std::string(kBlanks), ""},
      {"   ", 1, std::string(kBlanks), ""},
      {"Hash, Ponder,,Help", 3, ",", "Help"},
      {"Hash, Ponder,,Help", 2, ",", " Ponder"},
      {"|cmd||spin|1|", 2, "|", "spin"},
      {"a b|c", 1, "|", "a b"},
  };
  for (const WordCase& c : cases) {
    EXPECT_EQ(GetWord(c.text, c.n, c.delimiters), c.expected) << c.text << " word " << c.n;
  }
}

TEST(TrimTest, RemovesBlanksAtBothEndsOnly) {
  EXPECT_EQ(Trim(" \t\r\n\v\fa  b\f\v\n\r\t "), "a  b");
  EXPECT_EQ(Trim("   \t"), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("x"), "x");
}

TEST(ParseIntTest, ReadsTheLeadingDecimalNumberLikeTheCLibrary) {
  const std::pair<std::string, int> cases[] = {
      {"32", 32},
      {"  -7", -7},
      {"+5x", 5},
      {"64 ; big", 64},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"4x", 4},
      {"\t\n 12", 12},
      {"- 3", 0},
      {"007", 7},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseInt(text), expected) << text;
}

TEST(ToUpperTest, ChangesOnlyAsciiLowerCaseLetters) {
  EXPECT_EQ(ToUpper("hash/2 + x_9"), "HASH/2 + X_9");
  EXPECT_EQ(ToUpper("\xe4\xb5{}`"), "\xe4\xb5{}`");
}

TEST(ParseBoolTest, FollowsTheFirstCharacterAndOnOffRules) {
  const std::pair<std::string, bool> cases[] = {
      {"true", true},    {"T", true},   {"1", true},        {"9", true},      {"on", true},
      {"On", true},      {"ON", true},  {"tomorrow", true}, {"false", false}, {"off", false},
      {"OFF", false},    {"0", false},  {"yes", false},     {"", false},      {"one", false},
      {"onward", false}, {"05", false}, {" true", false},   {"Fine", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseBool(text), expected) << text;
}

TEST(UnescapeCTest, DecodesTheCEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(new\nforce)", "new\nforce"},
      {R"(\"\'\?\\)", "\"'?\\"},
      {R"(\a\b\f\n\r\t\v)", "\a\b\f\n\r\t\v"},
      {R"(\x41B)", "\x1b"},  // all hex digits belong to the escape; low 8 bits
      {R"(\x4g)", "\x04g"},
      {R"(\x141)", "A"},  // 0x141 keeps its low 8 bits
      {R"(\xffffffffffffffffff41)", "A"},
      {R"(\101)", "A"},
      {R"(\1018)", "A8"},  // 8 is no octal digit
      {R"(\1012)", "A2"},  // at most three octal digits
      {R"(\777)", "\xff"},
      {R"(a\0b)", "a\0b"s},
      {R"(\xg)", R"(\xg)"},  // no hex digit: backslash and x stay
      {R"(ab\x)", R"(ab\x)"},
      {R"(end\)", R"(end\)"},
      {R"(\q)", R"(\q)"},
      {R"(C:\Engines\foo)", "C:\\Engines\x0coo"},
      {R"(\\n)", R"(\n)"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(UnescapeC(text), expected) << text;
}

}  // namespace
}  // namespace vantro
