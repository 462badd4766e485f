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

// Others may read an open file but not write it.
TEST_F(TextFileSharingTest, AnOpenFileIsSharedForReadingOnly) {
  TextFile log, other;
  ASSERT_TRUE(log.OpenForAppending(path_));
  EXPECT_TRUE(log.WriteLine("a"));
  EXPECT_FALSE(other.OpenForAppending(path_));
  EXPECT_EQ(ReadFile(path_), "a\r\n");
  log.Close();
  EXPECT_TRUE(other.OpenForAppending(path_));
}

}  // namespace
}  // namespace vantro
