#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform_test_util.h"

namespace vantro {
namespace {

using test::ReadFile;
using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string path_ = dir_.File("f.txt");
};

TEST_F(TextFileTest, ReadsLinesByTheLineRules) {
  const std::string longLine(10000, 'q');  // longer than a read block
  const std::pair<std::string, Lines> cases[] = {
      {"a\r\n\nb", {"a", "", "b"}},  // the last line needs no LF
      {"", {}},
      {"\n", {""}},
      {"a\rb\r\r\nc\r", {"ab", "c"}},  // CR dropped wherever it stands
      {longLine + "\nz", {longLine, "z"}},
      {"a\n" + std::string(TextFile::kMaxLineBytes + 5, 'x') + "\r\nb\n", {"a", "b"}},
  };
  for (const auto& [bytes, expected] : cases) {
    dir_.Write("f.txt", bytes);
    TextFile file;
    ASSERT_TRUE(file.OpenForReading(path_));
    Lines lines;
    for (std::string line; file.ReadLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, expected) << bytes.substr(0, 20);
  }
}

TEST_F(TextFileTest, AppendingCreatesTheFileAndNeverTruncates) {
  TextFile file;
  ASSERT_TRUE(file.OpenForAppending(path_));
  EXPECT_TRUE(file.WriteLine("a\nb"));
  file.Close();
  ASSERT_TRUE(file.OpenForAppending(path_));
  EXPECT_TRUE(file.WriteLine(""));
  EXPECT_EQ(ReadFile(path_), "a\r\nb\r\n\r\n");
}

}  // namespace
}  // namespace vantro
