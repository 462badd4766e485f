#include "platform/child_process.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vantro {
namespace {

TEST(SplitCommandLineTest, SplitsAsAShellWouldForSimpleLines) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {" \ta   b\t ", {"a", "b"}}, {"\"/opt/x y/e\" -x", {"/opt/x y/e", "-x"}},
      {"a\"b c\"d", {"ab cd"}},    {"a \"\" b", {"a", "", "b"}},
      {"a \"b c", {"a", "b c"}},  // an unclosed quote runs to the end
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(SplitCommandLine(line), words) << line;
}

}  // namespace
}  // namespace vantro
