#include "platform/child_process.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/process_env.h"
#include "platform_test_util.h"
#include "platform_test_util_posix.h"

namespace vantro {
namespace {

using test::IsReaped;
using test::ReadToEnd;

// Starting, PATH lookup, blanks in directories and the kill of a stubborn
// engine run end to end; these guard what those runs cannot see.
TEST(ChildProcessTest, TheChildGetsDefaultSigpipeThoughTheAdapterIgnoresIt) {
  signal(SIGPIPE, SIG_IGN);  // as the adapter does
  ChildProcess child;
  int pid = child.Start("cat");
  ASSERT_GT(pid, 0);
  std::string status = test::ReadFile("/proc/" + std::to_string(pid) + "/status");
  std::size_t ignored = status.find("SigIgn:");
  ASSERT_NE(ignored, std::string::npos);
  EXPECT_EQ(std::stoull(status.substr(ignored + 7), nullptr, 16) & (1ull << (SIGPIPE - 1)), 0u);
  signal(SIGPIPE, SIG_DFL);
  UniqueHandle output = child.TakeOutput();
  EXPECT_EQ(child.Write("line one\n"), WriteResult::kDone);
  child.Close(false);  // end of input ends cat, and nothing waits for it
  EXPECT_EQ(ReadToEnd(static_cast<int>(output.Get())), "line one\n");
  EXPECT_TRUE(test::WaitUntil([pid] { return IsReaped(pid); }));
}

TEST(ChildProcessTest, AnExitedChildRefusesWritesWithoutSigpipeIsNotWaitedForAndShowsItsSignal) {
  auto saved = signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this test program
  ChildProcess child;
  ASSERT_GT(child.Start("true"), 0);
  // The end of its output does not mean its input is closed yet; its exit does.
  ASSERT_EQ(child.ExitStatus(5000), 0);
  EXPECT_EQ(child.Write("quit\n"), WriteResult::kFailed);
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);  // none left to strike later
  auto start = std::chrono::steady_clock::now();
  child.Close(true);
  EXPECT_LT(std::chrono::steady_clock::now() - start,
            std::chrono::milliseconds(ChildProcess::kTerminateWaitMs / 2));
  EXPECT_EQ(child.Write("after close\n"), WriteResult::kFailed);
  signal(SIGPIPE, saved);
  // A crash never reads as a clean exit.
  ASSERT_GT(child.Start("sh -c \"kill -9 $$\""), 0);
  EXPECT_EQ(child.ExitStatus(5000), 128 + SIGKILL);
}

}  // namespace
}  // namespace vantro
