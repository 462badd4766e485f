#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <string>

#include "platform_test_util.h"

// POSIX helpers of the platform tests: pipes read to their end and other
// processes seen through /proc.
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

// The state letter of process `pid` ("Z" for a zombie), empty once it is gone.
inline std::string ProcessState(int pid) {
  std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  std::istringstream rest(stat.substr(std::min(stat.size(), stat.rfind(')') + 1)));
  std::string state;
  rest >> state;
  return state;
}

// True once `pid` is no child of ours waiting to be reaped (so no zombie of
// ours). Never reaps it itself.
inline bool IsReaped(int pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
         errno == ECHILD;
}

}  // namespace vantro::test
