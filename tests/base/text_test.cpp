#include "base/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantro {
namespace {

TEST(Text, WordsTrimAndNumbers) {
  EXPECT_EQ(GetWord("  go  wtime\t100\n", 1), "go");
  EXPECT_EQ(GetWord("  go  wtime\t100\n", 3), "100");
  EXPECT_EQ(GetWord("go", 2), "");
  EXPECT_EQ(GetWord("a|b||c", 3, "|"), "c");  // empty fields do not count
  EXPECT_EQ(GetWord("var:curmov=5 3", 2, "= "), "5");
  EXPECT_THAT(SplitWords("e4;e5 Nf3", " ;"), ::testing::ElementsAre("e4", "e5", "Nf3"));
  EXPECT_EQ(Trim(" \t\v\f uci \r\n"), "uci");
  EXPECT_EQ(Trim(" \t "), "");
  struct {
    const char* text;
    int value;
  } numbers[] = {{"42x", 42},
                 {"  -7", -7},
                 {"+3", 3},
                 {"abc", 0},
                 {"", 0},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
  for (const auto& n : numbers) EXPECT_EQ(ParseInt(n.text), n.value) << n.text;
  EXPECT_EQ(ParseInt64("98765432100 nodes"), 98765432100LL);
}

}  // namespace
}  // namespace vantro
