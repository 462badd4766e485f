#include "platform/child_process.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/priority.h"
#include "platform/process_env.h"
#include "platform_test_util.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using test::IsReaped;
using test::ProcStat;
using test::ReadToEnd;
using test::WaitUntil;
using Clock = std::chrono::steady_clock;

class ChildProcessTest : public ::testing::Test {
 protected:
  // Runs `commandLine` to its end and returns all it printed.
  std::string RunToEnd(const std::string& commandLine) {
    if (child_.Start(commandLine) == 0) return "<not started>";
    UniqueFd output = child_.TakeOutput();
    std::string printed = ReadToEnd(output.Get());
    child_.Close(true);
    return printed;
  }
  // Close(true) on `pid` and how long it took.
  Clock::duration TimeCloseHard(int pid) {
    auto start = Clock::now();
    child_.Close(true);
    EXPECT_TRUE(IsReaped(pid));
    return Clock::now() - start;
  }

  test::TempDir dir_;
  ChildProcess child_;
};

TEST_F(ChildProcessTest, StartsAFoundProgramInItsDirectoryWithItsArguments) {
  std::string engines = dir_.File("Engine One");
  std::filesystem::create_directory(engines);
  test::WriteScript(engines + "/engine.exe", "pwd\nfor a in \"$@\"; do echo \"arg:$a\"; done\n");
  EXPECT_EQ(RunToEnd(engines + "/engine -xboard two"),
            std::filesystem::canonical(engines).string() + "\narg:-xboard\narg:two\n");
}

TEST_F(ChildProcessTest, StartsABareNameFromPathInTheCurrentDirectoryWithStderrInTheOutput) {
  test::ScopedCurrentDirectory inDir(dir_.Path());
  std::string current = std::filesystem::current_path().string();
  EXPECT_EQ(RunToEnd("sh -c \"echo hi; pwd >&2\""), "hi\n" + current + "\n");
}

TEST_F(ChildProcessTest, AProgramThatCannotBeExecutedGivesZero) {
  test::WriteFile(dir_.File("notes"), "echo no\n");  // not executable
  for (std::string line : {dir_.File("missing") + " -x", std::string("vantro-no-such-program -x"),
                           dir_.File("notes"), std::string("   ")}) {
    EXPECT_EQ(child_.Start(line), 0) << line;
  }
  EXPECT_FALSE(child_.Running());
  EXPECT_FALSE(child_.TakeOutput().Valid());
}

TEST_F(ChildProcessTest, RunsInItsOwnProcessGroupWithDefaultSigpipeAndHandsOutputOverOnce) {
  IgnoreBrokenPipeSignal();
  int pid = child_.Start("cat");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(ProcStat("/proc/" + std::to_string(pid)).at(2), std::to_string(pid));
  std::string status = test::ReadFile("/proc/" + std::to_string(pid) + "/status");
  std::size_t ignored = status.find("SigIgn:");
  ASSERT_NE(ignored, std::string::npos);
  EXPECT_EQ(std::stoull(status.substr(ignored + 7), nullptr, 16) & (1ull << (SIGPIPE - 1)), 0u);
  signal(SIGPIPE, SIG_DFL);
  UniqueFd output = child_.TakeOutput();
  EXPECT_FALSE(child_.TakeOutput().Valid());
  EXPECT_TRUE(child_.Write("line one\n"));
  child_.Close(true);  // end of input ends cat
  EXPECT_EQ(ReadToEnd(output.Get()), "line one\n");
}

TEST_F(ChildProcessTest, WritingToAnExitedChildFailsWithoutSigpipe) {
  auto saved = signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this test program
  int pid = child_.Start("true");
  ASSERT_GT(pid, 0);
  // The end of its output does not mean its input is closed yet; its reaping does.
  ASSERT_TRUE(WaitUntil([pid] { return ProcStat("/proc/" + std::to_string(pid)).empty(); }));
  EXPECT_FALSE(child_.Write("quit\n"));
  child_.Close(true);
  EXPECT_FALSE(child_.Write("after close\n"));
  signal(SIGPIPE, saved);
}

TEST_F(ChildProcessTest, NoChildIsLeftAZombieAndAnExitingOneIsNotWaitedFor) {
  int pid = child_.Start("true");
  ASSERT_GT(pid, 0);
  ReadToEnd(child_.TakeOutput().Get());  // the end of its output: it is exiting
  EXPECT_LT(TimeCloseHard(pid), milliseconds(ChildProcess::kTerminateWaitMs / 2));
  pid = child_.Start("cat");
  ASSERT_GT(pid, 0);
  child_.Close(false);  // closes its input, so cat ends soon after
  EXPECT_TRUE(WaitUntil([pid] { return IsReaped(pid); }));
}

TEST_F(ChildProcessTest, CloseHardKillsAChildThatIgnoresItsEndOfInputWithItsHelpers) {
  int pid = child_.Start("sh -c \"sleep 30 & echo $!; wait\"");
  ASSERT_GT(pid, 0);
  UniqueFd output = child_.TakeOutput();
  std::string helper;
  for (char c; read(output.Get(), &c, 1) == 1 && c != '\n';) helper.push_back(c);
  ASSERT_FALSE(helper.empty());
  auto took = TimeCloseHard(pid);
  EXPECT_GE(took, milliseconds(ChildProcess::kTerminateWaitMs - 100));
  EXPECT_LT(took, milliseconds(ChildProcess::kTerminateWaitMs + ChildProcess::kKillWaitMs));
  EXPECT_TRUE(WaitUntil([&] {
    std::vector<std::string> stat = ProcStat("/proc/" + helper);
    return stat.empty() || stat[0] == "Z";  // a zombie of its new parent is dead too
  }));
}

TEST_F(ChildProcessTest, StartsAtTheStoredPriorityAndAppliesChangesWhileRunning) {
  child_.SetPriorityClass(kBelowNormalPriorityClass);
  int pid = child_.Start("cat");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(test::NiceOf(pid), NiceForPriority(kBelowNormalPriorityClass, 0));
  child_.SetThreadPriority(kThreadPriorityLowest);
  EXPECT_EQ(test::NiceOf(pid), NiceForPriority(kBelowNormalPriorityClass, kThreadPriorityLowest));
  child_.Close(true);
}

TEST_F(ChildProcessTest, FindsTheProgramDirectoryOnlyWhereALeadingPartNamesAFile) {
  std::filesystem::create_directories(dir_.File("Engine One/sub"));
  test::WriteScript(dir_.File("Engine One/engine"), "exit 0\n");
  test::ScopedCurrentDirectory inDir(dir_.Path());
  std::string engines = std::filesystem::current_path().string() + "/Engine One";
  EXPECT_EQ(FindProgramDirectory("Engine One/engine -x"), engines + "/");
  for (std::string line : {engines + "/missing -x", "\"" + engines + "/engine\" -x", std::string(),
                           engines + "/sub"}) {
    EXPECT_EQ(FindProgramDirectory(line), std::nullopt) << line;
  }
  // Cut at its blank, "<dir>/Engine One/fairymax" would name the file "<dir>/Engine".
  test::WriteFile(dir_.File("Engine"), "");
  test::ScopedCurrentDirectory inEngines(engines);
  EXPECT_EQ(FindProgramDirectory("fairymax"), std::nullopt);
}

TEST(FindOnPathTest, MakesANameWithASlashAbsoluteInsteadOfSearchingPath) {
  EXPECT_EQ(FindOnPath("/opt/x/engine"), "/opt/x/engine");
  EXPECT_EQ(FindOnPath("engines/e"), std::filesystem::current_path().string() + "/engines/e");
}

TEST(SplitCommandLineTest, SplitsAsAShellWouldForSimpleLines) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"gnuchess -x", {"gnuchess", "-x"}},
      {" \ta   b\t ", {"a", "b"}},
      {"\"/opt/x y/e\" -x", {"/opt/x y/e", "-x"}},
      {"a\"b c\"d", {"ab cd"}},
      {"a \"\" b", {"a", "", "b"}},
      {"a \"b c", {"a", "b c"}},  // an unclosed quote runs to the end
      {"", {}},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(SplitCommandLine(line), words) << line;
}

}  // namespace
}  // namespace vantro
