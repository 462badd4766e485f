#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform_test_util.h"

// POSIX helpers of the tests: pipes read to their end, children found and reaped.
namespace vantro::test {

// Everything `fd` delivers until its end.
inline std::string ReadToEnd(int fd) {
  std::string text;
  char block[4096];
  for (ssize_t got; (got = read(fd, block, sizeof block)) != 0;) {
    if (got < 0 && errno != EINTR) break;
    if (got > 0) text.append(block, static_cast<std::size_t>(got));
  }
  return text;
}

// True once `pid` is no child of ours waiting to be reaped (so no zombie of
// ours). Never reaps it itself.
inline bool IsReaped(int pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
         errno == ECHILD;
}

// The first child of any thread of `parent` (an adapter's engine; Linux), or 0.
inline int ChildOf(int parent) {
  const std::string tasks = "/proc/" + std::to_string(parent) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks)) {
    std::ifstream in(task.path() / "children");
    int child = 0;
    if (in >> child) return child;
  }
  return 0;
}

}  // namespace vantro::test
