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

// Two appenders write at the end of what the other wrote; Windows lets
// others read an open file but not write it.
TEST_F(TextFileTest, ASecondAppenderNeverOverwritesTheFirst) {
  TextFile first, second;
  ASSERT_TRUE(first.OpenForAppending(path_));
  EXPECT_TRUE(first.WriteLine("a"));
#ifdef _WIN32
  EXPECT_FALSE(second.OpenForAppending(path_));
  EXPECT_EQ(ReadFile(path_), "a\r\n");
  first.Close();
  EXPECT_TRUE(second.OpenForAppending(path_));
#else
  ASSERT_TRUE(second.OpenForAppending(path_));
  EXPECT_TRUE(second.WriteLine("theirs"));
  EXPECT_TRUE(first.WriteLine("mine"));  // at the end, though the file grew meanwhile
  EXPECT_EQ(ReadFile(path_), "a\r\ntheirs\r\nmine\r\n");
#endif
}

}  // namespace
}  // namespace vantro
