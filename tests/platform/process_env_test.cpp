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

TEST(WriteAllTest, WritesMoreThanAPipeHoldsEvenToANonBlockingDescriptor) {
  for (int flags : {0, O_NONBLOCK}) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
    fcntl(writeEnd.Get(), F_SETFL, flags);
    std::string data(1 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    std::string received;
    std::thread reader([&] { received = test::ReadToEnd(readEnd.Get()); });
    EXPECT_TRUE(WriteAll(writeEnd.Get(), data));
    writeEnd.Reset();
    reader.join();
    EXPECT_TRUE(received == data) << "flags " << flags;
  }
}

TEST(WriteAllTest, FailsOnAPipeWithoutReaderEvenWhenSigpipeIsNotIgnored) {
  auto saved = signal(SIGPIPE, SIG_DFL);
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd writeEnd(fds[1]);
  close(fds[0]);
  EXPECT_FALSE(WriteAll(writeEnd.Get(), "nobody listens\n"));
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);  // none left to strike later
  signal(SIGPIPE, saved);
}

TEST(OpenWithDesktopTest, StartsTheOpenerDetachedWithoutOutputAndReapsIt) {
  test::TempDir dir;
  std::string report = dir.File("report");
  // Written whole by a rename, so the test never reads half of it.
  test::WriteScript(dir.File("xdg-open"), "echo \"$$ $1 $(readlink /proc/$$/fd/1)\" > '" + report +
                                              ".tmp'\nmv '" + report + ".tmp' '" + report + "'\n");
  test::WriteScript(dir.File("open"), "exec \"$(dirname \"$0\")/xdg-open\" \"$@\"\n");
  std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir.Path() + ":" + savedPath).c_str(), 1);
  OpenWithDesktop("/some/help page.html");
  setenv("PATH", savedPath.c_str(), 1);
  ASSERT_TRUE(test::WaitUntil([&] { return !test::ReadFile(report).empty(); }));
  std::string line = test::ReadFile(report);
  int pid = std::stoi(line);
  EXPECT_NE(line.find(" /some/help page.html /dev/null"), std::string::npos) << line;
  EXPECT_TRUE(test::WaitUntil([pid] { return test::IsReaped(pid); }));
}

}  // namespace
}  // namespace vantro
