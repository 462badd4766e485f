#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform_test_util.h"

namespace vantro {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> ReadAllLines(const std::string& path) {
  TextFile file;
  std::vector<std::string> lines;
  if (!file.OpenForReading(path)) return {"<not opened>"};
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  EXPECT_TRUE(line.empty());
  return lines;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

class TextFileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TextFileReadTest, SplitsBytesIntoLines) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), GetParam().bytes);
  EXPECT_EQ(ReadAllLines(dir.File("in.txt")), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineRules, TextFileReadTest,
    ::testing::Values(ReadCase{"CrLfThenLfThenUnendedLine", "a\r\n\nb", {"a", "", "b"}},
                      ReadCase{"EmptyFile", "", {}}, ReadCase{"SingleLineFeed", "\n", {""}},
                      ReadCase{"CarriageReturnsDroppedAnywhere", "a\rb\r\r\nc\r", {"ab", "c"}},
                      ReadCase{"OnlyCarriageReturnIsNoLine", "\r", {}},
                      ReadCase{"TrailingEmptyLines", "x\r\n\r\n", {"x", ""}},
                      ReadCase{"LineLongerThanAReadBlock",
                               std::string(10000, 'q') + "\nz",
                               {std::string(10000, 'q'), "z"}}),
    [](const auto& info) { return info.param.name; });

TEST(TextFileTest, SkipsALineLongerThanTheLimitWhole) {
  TempDir dir;
  WriteFile(dir.File("big.txt"),
            "first\n" + std::string(TextFile::kMaxLineBytes + 5, 'x') + "\r\nafter\n");
  EXPECT_EQ(ReadAllLines(dir.File("big.txt")), (std::vector<std::string>{"first", "after"}));
}

struct CrLfCase {
  const char* name;
  std::string text;
  std::string written;
};

class ToCrLfLineTest : public ::testing::TestWithParam<CrLfCase> {};

TEST_P(ToCrLfLineTest, GivesTheBytesOfAWrittenLine) {
  EXPECT_EQ(ToCrLfLine(GetParam().text), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(WriteRules, ToCrLfLineTest,
                         ::testing::Values(CrLfCase{"InnerLineFeed", "a\nb", "a\r\nb\r\n"},
                                           CrLfCase{"EndsWithCrLf", "a\r\n", "a\r\n"},
                                           CrLfCase{"EndsWithLf", "a\n", "a\r\n"},
                                           CrLfCase{"Empty", "", "\r\n"},
                                           CrLfCase{"LoneCrStays", "a\rb", "a\rb\r\n"},
                                           CrLfCase{"CrBeforeCrLf", "a\r\r\n", "a\r\r\n"},
                                           CrLfCase{"OnlyLineFeeds", "\n\n", "\r\n\r\n"}),
                         [](const auto& info) { return info.param.name; });

TEST(TextFileTest, WriteLineWritesCrLfLines) {
  TempDir dir;
  TextFile file;
  ASSERT_TRUE(file.OpenForAppending(dir.File("out.log")));
  EXPECT_TRUE(file.WriteLine("a\nb"));
  EXPECT_TRUE(file.WriteLine(""));
  file.Close();
  EXPECT_EQ(ReadFile(dir.File("out.log")), "a\r\nb\r\n\r\n");
}

TEST(TextFileTest, AppendingTwiceKeepsEverythingWritten) {
  TempDir dir;
  WriteFile(dir.File("run.log"), "older content that is long\r\n");
  for (const char* text : {"one", "two"}) {
    TextFile file;
    ASSERT_TRUE(file.OpenForAppending(dir.File("run.log")));
    EXPECT_TRUE(file.WriteLine(text));
  }
  EXPECT_EQ(ReadFile(dir.File("run.log")), "older content that is long\r\none\r\ntwo\r\n");
}

TEST(TextFileTest, AppendingCreatesAMissingFile) {
  TempDir dir;
  TextFile file;
  ASSERT_TRUE(file.OpenForAppending(dir.File("new.log")));
  EXPECT_TRUE(file.WriteLine("x"));
  EXPECT_EQ(ReadFile(dir.File("new.log")), "x\r\n");
}

TEST(TextFileTest, AppendGoesToTheEndEvenWhenTheFileGrewMeanwhile) {
  TempDir dir;
  TextFile file;
  ASSERT_TRUE(file.OpenForAppending(dir.File("shared.log")));
  ASSERT_TRUE(file.WriteLine("mine"));
  TextFile other;
  ASSERT_TRUE(other.OpenForAppending(dir.File("shared.log")));
  ASSERT_TRUE(other.WriteLine("theirs"));
  ASSERT_TRUE(file.WriteLine("mine again"));
  EXPECT_EQ(ReadFile(dir.File("shared.log")), "mine\r\ntheirs\r\nmine again\r\n");
}

TEST(TextFileTest, WritingWithoutAppendOverwritesFromTheStartWithoutTruncating) {
  TempDir dir;
  WriteFile(dir.File("f.txt"), "abcdefgh");
  TextFile file;
  ASSERT_TRUE(file.Open(dir.File("f.txt"), TextFile::Access::kWrite, false,
                        TextFile::Disposition::kOpenExisting));
  EXPECT_TRUE(file.WriteLine("X"));
  file.Close();
  EXPECT_EQ(ReadFile(dir.File("f.txt")), "X\r\ndefgh");
}

TEST(TextFileTest, NameOfBlanksFailsWithoutCreatingAFile) {
  TempDir dir;
  test::ScopedCurrentDirectory inDir(dir.Path());
  TextFile file;
  EXPECT_FALSE(file.OpenForAppending("  \t "));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(TextFileTest, NameIsTrimmed) {
  TempDir dir;
  WriteFile(dir.File("eng.ini"), "line\n");
  TextFile file;
  ASSERT_TRUE(file.OpenForReading("  " + dir.File("eng.ini") + " \r\n"));
  EXPECT_EQ(file.Name(), dir.File("eng.ini"));
}

TEST(TextFileTest, OpeningAMissingFileOrADirectoryForReadingFails) {
  TempDir dir;
  TextFile file;
  EXPECT_FALSE(file.OpenForReading(dir.File("missing.txt")));
  EXPECT_FALSE(file.OpenForReading(dir.Path()));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.txt")));
}

TEST(TextFileTest, WriteFailsOnAFileOpenedForReadingAndWhenClosed) {
  TempDir dir;
  WriteFile(dir.File("r.txt"), "keep\n");
  TextFile file;
  EXPECT_FALSE(file.WriteLine("x"));
  ASSERT_TRUE(file.OpenForReading(dir.File("r.txt")));
  EXPECT_FALSE(file.WriteLine("x"));
  EXPECT_EQ(ReadFile(dir.File("r.txt")), "keep\n");
}

TEST(TextFileTest, ReopeningReadsFromTheStart) {
  TempDir dir;
  WriteFile(dir.File("r.txt"), "one\ntwo\n");
  TextFile file;
  std::string line;
  ASSERT_TRUE(file.OpenForReading(dir.File("r.txt")));
  ASSERT_TRUE(file.ReadLine(line));
  ASSERT_TRUE(file.OpenForReading(dir.File("r.txt")));
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "one");
}

}  // namespace
}  // namespace vantro
