#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform_test_util.h"

// POSIX helpers of the platform tests: pipes read to their end, children reaped.
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

}  // namespace vantro::test
