#include "settings/text_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/text.h"

namespace vantro {
namespace {

using namespace std::string_literals;

TEST(TextTest, ParseIntReadsTheLeadingDecimalNumberAndClampsOverflow) {
  // clang-format off
  const std::pair<std::string, int> cases[] = {
      {"32", 32}, {"  -7", -7}, {"+5x", 5}, {"64 ; big", 64}, {"abc", 0}, {"", 0}, {"-", 0},
      {"\t\n 12", 12}, {"- 3", 0}, {"007", 7}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}};
  // clang-format on
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseInt(text), expected) << text;
}

TEST(TextTest, ParseBoolFollowsTheFirstCharacterAndOnOffRules) {
  const std::pair<std::string, bool> cases[] = {
      {"true", true},    {"T", true},   {"1", true},        {"9", true},      {"on", true},
      {"On", true},      {"ON", true},  {"tomorrow", true}, {"false", false}, {"off", false},
      {"OFF", false},    {"0", false},  {"yes", false},     {"", false},      {"one", false},
      {"onward", false}, {"05", false}, {" true", false},   {"Fine", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseBool(text), expected) << text;
}

TEST(TextTest, UnescapeCDecodesTheCEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(new\nforce)", "new\nforce"},
      {R"(\"\'\?\\)", "\"'?\\"},
      {R"(\a\b\f\n\r\t\v)", "\a\b\f\n\r\t\v"},
      {R"(\x41B)", "\x1b"},  // every hex digit belongs to the escape; low 8 bits kept
      {R"(\x4g)", "\x04g"},
      {R"(\xffffffffffffffffff41)", "A"},
      {R"(\1018)", "A8"},  // 8 is no octal digit
      {R"(\1012)", "A2"},  // at most three octal digits
      {R"(\777)", "\xff"},
      {R"(a\0b)", "a\0b"s},
      {R"(\xg)", R"(\xg)"},  // no hex digit: backslash and x stay
      {R"(end\)", R"(end\)"},
      {R"(\q)", R"(\q)"},
      {R"(C:\Engines\foo)", "C:\\Engines\x0coo"},
      {R"(\\n)", R"(\n)"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(UnescapeC(text), expected) << text;
}

}  // namespace
}  // namespace vantro
