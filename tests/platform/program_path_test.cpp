#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform_test_util.h"

namespace vantro {
namespace {

using test::TempDir;
using test::WriteFile;
using test::WriteScript;

// A tree with blanks in its names: "Engine One/engine", "Engine One/win.exe",
// "Engine One/data" (not executable) and the directory "Engine One/sub".
class ProgramPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.Path().empty());
    engines_ = dir_.File("Engine One");
    std::filesystem::create_directories(engines_ + "/sub");
    WriteScript(engines_ + "/engine", "exit 0\n");
    WriteScript(engines_ + "/win.exe", "exit 0\n");
    WriteFile(engines_ + "/data", "not a program\n");
  }

  TempDir dir_;
  std::string engines_;
};

TEST_F(ProgramPathTest, FindsTheLongestLeadingPartThatNamesAFile) {
  EXPECT_EQ(FindProgramDirectory(engines_ + "/engine -xboard"), engines_ + "/");
  std::optional<ProgramLocation> location = FindProgram(engines_ + "/engine -xboard  two");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->file, engines_ + "/engine");
  EXPECT_EQ(location->arguments, " -xboard  two");
  EXPECT_TRUE(location->executable);
}

TEST_F(ProgramPathTest, FindsAProgramNamedWithoutExe) {
  std::optional<ProgramLocation> location = FindProgram(engines_ + "/win xboard");
  ASSERT_TRUE(location);
  EXPECT_EQ(location->file, engines_ + "/win.exe");
  EXPECT_EQ(location->directory, engines_ + "/");
  EXPECT_EQ(location->arguments, " xboard");
}

TEST_F(ProgramPathTest, ResolvesARelativeNameAgainstTheCurrentDirectory) {
  test::ScopedCurrentDirectory inDir(dir_.Path());
  std::string current = std::filesystem::current_path().string();
  EXPECT_EQ(FindProgramDirectory("Engine One/engine -x"), current + "/Engine One/");
}

TEST_F(ProgramPathTest, GivesNoResultWhenNoLeadingPartNamesAFile) {
  EXPECT_EQ(FindProgramDirectory(engines_ + "/missing -x"), std::nullopt);
  EXPECT_EQ(FindProgramDirectory("\"" + engines_ + "/engine\" -x"), std::nullopt);
  EXPECT_EQ(FindProgramDirectory(""), std::nullopt);
  EXPECT_EQ(FindProgramDirectory(engines_ + "/sub"), std::nullopt);  // a directory
}

TEST_F(ProgramPathTest, ReportsAFileThatCannotBeExecuted) {
  std::optional<ProgramLocation> location = FindProgram(engines_ + "/data");
  ASSERT_TRUE(location);
  EXPECT_FALSE(location->executable);
}

TEST_F(ProgramPathTest, NeverCutsIntoACurrentDirectoryWithBlanks) {
  // Cut at its blank, "<dir>/Engine One/fairymax" would become "<dir>/Engine",
  // which names a file here.
  WriteFile(dir_.File("Engine"), "");
  test::ScopedCurrentDirectory inDir(engines_);
  EXPECT_EQ(FindProgramDirectory("fairymax"), std::nullopt);
}

TEST(FindOnPathTest, FindsABareNameOnPathAndKeepsNamesWithASlash) {
  std::optional<std::string> shell = FindOnPath("sh");
  ASSERT_TRUE(shell);
  EXPECT_EQ(shell->front(), '/');
  EXPECT_EQ(std::filesystem::path(*shell).filename(), "sh");
  EXPECT_EQ(FindOnPath("vantro-no-such-program"), std::nullopt);
  EXPECT_EQ(FindOnPath("/opt/x/engine"), "/opt/x/engine");
  EXPECT_EQ(FindOnPath("engines/e"), std::filesystem::current_path().string() + "/engines/e");
}

struct SplitCase {
  const char* name;
  std::string commandLine;
  std::vector<std::string> words;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsAsAShellWouldForSimpleLines) {
  EXPECT_EQ(SplitCommandLine(GetParam().commandLine), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(SplitCase{"ProgramAndArgument", "gnuchess -x", {"gnuchess", "-x"}},
                      SplitCase{"RunsOfBlanksAndTabs", " \ta   b\t ", {"a", "b"}},
                      SplitCase{"QuotesGroupWords", "\"/opt/x y/e\" -x", {"/opt/x y/e", "-x"}},
                      SplitCase{"QuotesInsideAWord", "a\"b c\"d", {"ab cd"}},
                      SplitCase{"EmptyQuotesAreAWord", "a \"\" b", {"a", "", "b"}},
                      SplitCase{"UnclosedQuoteRunsToTheEnd", "a \"b c", {"a", "b c"}},
                      SplitCase{"Empty", "", {}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantro
