#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform_test_util.h"

namespace vantro {
namespace {

using test::ReadFile;

class TextFileSharingTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string path_ = dir_.File("f.txt");
};

TEST_F(TextFileSharingTest, AppendersNeverOverwriteEachOther) {
  TextFile first, second;
  ASSERT_TRUE(first.OpenForAppending(path_));
  EXPECT_TRUE(first.WriteLine("a"));
  ASSERT_TRUE(second.OpenForAppending(path_));
  EXPECT_TRUE(second.WriteLine("theirs"));
  EXPECT_TRUE(first.WriteLine("mine"));  // at the end, though the file grew meanwhile
  EXPECT_EQ(ReadFile(path_), "a\r\ntheirs\r\nmine\r\n");
}

}  // namespace
}  // namespace vantro
