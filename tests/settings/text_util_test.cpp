#include "settings/text_util.h"

#include <gtest/gtest.h>

#include <string>

namespace vantro {
namespace {

using namespace std::string_literals;

TEST(TextTest, ParseBoolFollowsTheFirstCharacterAndOnOffRules) {
  const std::pair<std::string, bool> cases[] = {
      {"T", true},      {"9", true},    {"On", true},      {"tomorrow", true},
      {"false", false}, {"OFF", false}, {"0", false},      {"yes", false},
      {"", false},      {"one", false}, {"onward", false}, {" true", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseBool(text), expected) << text;
}

TEST(TextTest, UnescapeCDecodesTheCEscapes) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {R"(\"\'\?\\)", "\"'?\\"}, {R"(\a\b\f\n\r\t\v)", "\a\b\f\n\r\t\v"}, {R"(a\0b)", "a\0b"s},
      {R"(\x41B)", "\x1b"},  // every hex digit belongs to the escape; low 8 bits kept
      {R"(\x4g)", "\x04g"}, {R"(\xffffffffffffffffff41)", "A"},
      {R"(\1018)", "A8"}, {R"(\1012)", "A2"}, {R"(\777)", "\xff"},  // at most 3 octal digits
      {R"(\xg)", R"(\xg)"}, {R"(end\)", R"(end\)"},  // no escape: kept as written
      {R"(C:\Engines\foo)", "C:\\Engines\x0coo"}, {R"(\\n)", R"(\n)"}};
  // clang-format on
  for (const auto& [text, expected] : cases) EXPECT_EQ(UnescapeC(text), expected) << text;
}

TEST(TextTest, EscapeCWritesOneLineThatDecodesBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"new\nforce", R"(new\nforce)"}, {"C:\\x", R"(C:\\x)"},
      {"\t\r\a", R"(\t\r\a)"},         {"\0017", R"(\0017)"},
      {"\x7f\0"s, R"(\177\000)"},      {"plain % text", "plain % text"}};
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(EscapeC(text), escaped);
    EXPECT_EQ(UnescapeC(EscapeC(text)), text);
  }
}

}  // namespace
}  // namespace vantro
