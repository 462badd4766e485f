#include "platform/process_env.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/unique_fd.h"
#include "platform_test_util.h"

namespace vantro {
namespace {

using test::TempDir;
using test::WaitUntil;

TEST(WriteAllTest, WritesMoreThanAPipeHoldsInOneCall) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd readEnd(fds[0]);
  UniqueFd writeEnd(fds[1]);
  std::string data(1 << 20, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
  std::string received;
  std::thread reader([&] { received = test::ReadToEnd(readEnd.Get()); });
  EXPECT_TRUE(WriteAll(writeEnd.Get(), data));
  writeEnd.Reset();
  reader.join();
  EXPECT_EQ(received, data);
}

TEST(WriteAllTest, WaitsOnANonBlockingDescriptorInsteadOfDroppingData) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
  UniqueFd readEnd(fds[0]);
  UniqueFd writeEnd(fds[1]);
  fcntl(readEnd.Get(), F_SETFL, 0);  // only the writer is non-blocking
  std::string data(1 << 20, 'n');
  std::string received;
  std::thread reader([&] { received = test::ReadToEnd(readEnd.Get()); });
  EXPECT_TRUE(WriteAll(writeEnd.Get(), data));
  writeEnd.Reset();
  reader.join();
  EXPECT_EQ(received.size(), data.size());
}

TEST(WriteAllTest, FailsOnAPipeWithoutReaderEvenWhenSigpipeIsNotIgnored) {
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  struct sigaction saved {};
  sigaction(SIGPIPE, &defaultAction, &saved);
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd writeEnd(fds[1]);
  close(fds[0]);
  EXPECT_FALSE(WriteAll(writeEnd.Get(), "nobody listens\n"));
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);  // none left to strike later
  sigaction(SIGPIPE, &saved, nullptr);
}

TEST(WriteAllTest, FailsOnAnInvalidDescriptor) {
  EXPECT_FALSE(WriteAll(-1, "x"));
}

TEST(UniqueFdTest, ResetAndMoveCloseTheDescriptorOnce) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd writeEnd(fds[1]);
  UniqueFd readEnd(fds[0]);
  UniqueFd moved = std::move(readEnd);
  EXPECT_FALSE(readEnd.Valid());
  EXPECT_EQ(moved.Get(), fds[0]);
  moved.Reset();
  EXPECT_EQ(fcntl(fds[0], F_GETFD), -1);
  EXPECT_FALSE(WriteAll(writeEnd.Get(), "x"));  // its reader is gone
}

TEST(OpenWithDesktopTest, StartsTheOpenerDetachedWithoutOutputAndReapsIt) {
  TempDir dir;
  std::string report = dir.File("report");
  test::WriteScript(dir.File("xdg-open"), "echo \"$$ $1 $(readlink /proc/$$/fd/1)\" > '" + report +
                                              ".tmp'\nmv '" + report + ".tmp' '" + report + "'\n");
  test::WriteScript(dir.File("open"), "exec \"$(dirname \"$0\")/xdg-open\" \"$@\"\n");
  const char* oldPath = std::getenv("PATH");
  std::string savedPath = oldPath ? oldPath : "";
  setenv("PATH", (dir.Path() + ":" + savedPath).c_str(), 1);
  OpenWithDesktop("/some/help page.html");
  setenv("PATH", savedPath.c_str(), 1);

  ASSERT_TRUE(WaitUntil([&] { return !test::ReadFile(report).empty(); }));
  std::string line = test::ReadFile(report);
  int pid = std::stoi(line);
  EXPECT_NE(line.find(" /some/help page.html /dev/null"), std::string::npos) << line;
  EXPECT_TRUE(WaitUntil([pid] { return test::IsReaped(pid); }));
}

}  // namespace
}  // namespace vantro
