#include "platform/child_process.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/priority.h"
#include "platform/process_env.h"
#include "platform_test_util.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using test::IsDead;
using test::IsReaped;
using test::ReadToEnd;
using test::TempDir;
using test::WaitUntil;
using test::WriteScript;

using Clock = std::chrono::steady_clock;

// Runs `commandLine` to its end and returns all it printed.
std::string RunToEnd(ChildProcess& child, const std::string& commandLine) {
  if (child.Start(commandLine) == 0) return "<not started>";
  UniqueFd output = child.TakeOutput();
  std::string printed = ReadToEnd(output.Get());
  child.Close(true);
  return printed;
}

class ChildProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.Path().empty()); }

  TempDir dir_{"vantro child "};
};

TEST_F(ChildProcessTest, StartsTheProgramInItsOwnDirectoryWithItsArguments) {
  std::string engines = dir_.File("Engine One");
  std::filesystem::create_directory(engines);
  WriteScript(engines + "/engine", "pwd\nfor a in \"$@\"; do echo \"arg:$a\"; done\n");
  ChildProcess child;
  std::string expected = std::filesystem::canonical(engines).string() + "\narg:-xboard\narg:two\n";
  EXPECT_EQ(RunToEnd(child, engines + "/engine -xboard two"), expected);
}

TEST_F(ChildProcessTest, StartsAProgramNamedWithoutExe) {
  WriteScript(dir_.File("engine.exe"), "echo \"$0 $1\"\n");
  ChildProcess child;
  EXPECT_EQ(RunToEnd(child, dir_.File("engine") + " xboard"),
            dir_.File("engine.exe") + " xboard\n");
}

TEST_F(ChildProcessTest, FindsABareNameOnPathAndStartsInTheCurrentDirectory) {
  test::ScopedCurrentDirectory inDir(dir_.Path());
  ChildProcess child;
  std::string current = std::filesystem::current_path().string();
  EXPECT_EQ(RunToEnd(child, "sh -c \"echo hi; pwd\""), "hi\n" + current + "\n");
}

TEST_F(ChildProcessTest, SendsStandardErrorToTheSamePipe) {
  ChildProcess child;
  EXPECT_EQ(RunToEnd(child, "sh -c \"echo out; echo err >&2\""), "out\nerr\n");
}

TEST_F(ChildProcessTest, AProgramThatCannotBeExecutedGivesZero) {
  test::WriteFile(dir_.File("notes"), "echo no\n");  // not executable
  ChildProcess child;
  EXPECT_EQ(child.Start(dir_.File("missing") + " -x"), 0);
  EXPECT_EQ(child.Start("vantro-no-such-program -x"), 0);
  EXPECT_EQ(child.Start(dir_.File("notes")), 0);
  EXPECT_EQ(child.Start("   "), 0);
  EXPECT_FALSE(child.Running());
  EXPECT_FALSE(child.TakeOutput().Valid());
}

TEST_F(ChildProcessTest, PassesInputAndHandsTheOutputOverOnce) {
  ChildProcess child;
  ASSERT_GT(child.Start("cat"), 0);
  EXPECT_TRUE(child.Running());
  UniqueFd output = child.TakeOutput();
  ASSERT_TRUE(output.Valid());
  EXPECT_FALSE(child.TakeOutput().Valid());
  EXPECT_TRUE(child.Write("line one\n"));
  child.Close(true);  // end of input ends cat
  EXPECT_EQ(ReadToEnd(output.Get()), "line one\n");
  EXPECT_FALSE(child.Running());
}

TEST_F(ChildProcessTest, RunsInAProcessGroupOfItsOwnWithDefaultSigpipe) {
  IgnoreBrokenPipeSignal();
  ChildProcess child;
  int pid = child.Start("cat");
  ASSERT_GT(pid, 0);
  std::vector<std::string> stat = test::ProcStat(pid);
  ASSERT_GT(stat.size(), 2u);
  EXPECT_EQ(stat[2], std::to_string(pid));
  std::string status = test::ReadFile("/proc/" + std::to_string(pid) + "/status");
  std::size_t ignored = status.find("SigIgn:");
  ASSERT_NE(ignored, std::string::npos);
  unsigned long long mask = std::stoull(status.substr(ignored + 7), nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u);
  child.Close(true);
  signal(SIGPIPE, SIG_DFL);
}

TEST_F(ChildProcessTest, CloseHardOnAnExitedChildReturnsAtOnceAndLeavesNoZombie) {
  ChildProcess child;
  int pid = child.Start("true");
  ASSERT_GT(pid, 0);
  UniqueFd output = child.TakeOutput();
  ReadToEnd(output.Get());  // the end of its output: it is exiting
  auto start = Clock::now();
  child.Close(true);
  EXPECT_LT(Clock::now() - start, milliseconds(ChildProcess::kTerminateWaitMs / 2));
  EXPECT_TRUE(IsReaped(pid));
}

TEST_F(ChildProcessTest, AChildLeftRunningByCloseIsReapedWhenItExits) {
  ChildProcess child;
  int pid = child.Start("cat");
  ASSERT_GT(pid, 0);
  auto start = Clock::now();
  child.Close(false);  // closes its input, so cat ends soon after
  EXPECT_LT(Clock::now() - start, milliseconds(ChildProcess::kTerminateWaitMs / 2));
  EXPECT_TRUE(WaitUntil([pid] { return IsReaped(pid); }));
  EXPECT_TRUE(test::ProcStat(pid).empty());
}

TEST_F(ChildProcessTest, CloseHardKillsAChildThatIgnoresItsEndOfInputWithItsHelpers) {
  ChildProcess child;
  int pid = child.Start("sh -c \"sleep 30 & echo $!; wait\"");
  ASSERT_GT(pid, 0);
  UniqueFd output = child.TakeOutput();
  std::string helper;
  char c;
  while (read(output.Get(), &c, 1) == 1 && c != '\n') helper.push_back(c);
  ASSERT_FALSE(helper.empty());
  auto start = Clock::now();
  child.Close(true);
  auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(ChildProcess::kTerminateWaitMs - 100));
  EXPECT_LT(took, milliseconds(ChildProcess::kTerminateWaitMs + ChildProcess::kKillWaitMs));
  EXPECT_TRUE(IsReaped(pid));
  int helperPid = std::stoi(helper);
  EXPECT_TRUE(WaitUntil([helperPid] { return IsDead(helperPid); }));
}

TEST_F(ChildProcessTest, WritingToAnExitedChildFailsWithoutSigpipe) {
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  struct sigaction saved {};
  sigaction(SIGPIPE, &defaultAction, &saved);  // a SIGPIPE would end this test program
  ChildProcess child;
  int pid = child.Start("true");
  ASSERT_GT(pid, 0);
  // The end of its output does not mean its input is closed yet; its reaping does.
  ASSERT_TRUE(WaitUntil([pid] { return test::ProcStat(pid).empty(); }));
  EXPECT_FALSE(child.Write("quit\n"));
  EXPECT_FALSE(child.Write("quit\n"));
  child.Close(true);
  EXPECT_FALSE(child.Write("after close\n"));
  sigaction(SIGPIPE, &saved, nullptr);
}

TEST_F(ChildProcessTest, StartsAtTheStoredPriorityAndAppliesChangesWhileRunning) {
  ChildProcess child;
  child.SetPriorityClass(kBelowNormalPriorityClass);
  int pid = child.Start("cat");
  ASSERT_GT(pid, 0);
  EXPECT_EQ(test::NiceOf(pid), 10);
  child.SetThreadPriority(kThreadPriorityLowest);
  EXPECT_EQ(test::NiceOf(pid), 14);
  child.SetPriorityClass(kIdlePriorityClass);
  EXPECT_EQ(test::NiceOf(pid), 19);
  EXPECT_EQ(child.PriorityClass(), kIdlePriorityClass);
  child.Close(true);
}

TEST_F(ChildProcessTest, PriorityChangesWithoutAProcessAreOnlyStored) {
  ChildProcess child;
  EXPECT_EQ(child.PriorityClass(), GetOwnPriorityClass());
  child.SetPriorityClass(kIdlePriorityClass);
  child.SetThreadPriority(kThreadPriorityHighest);
  EXPECT_EQ(child.PriorityClass(), kIdlePriorityClass);
  EXPECT_EQ(child.ThreadPriority(), kThreadPriorityHighest);
}

}  // namespace
}  // namespace vantro
