#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

// Helpers shared by the platform tests: temporary directories, files, pipes
// read to their end and other processes seen through /proc.
namespace vantro::test {

// A fresh directory, removed with its contents at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantro test XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempDir() { std::filesystem::remove_all(path_, ignored_); }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::error_code ignored_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

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

// Polls for up to five seconds: states of other processes signal nothing.
inline bool WaitUntil(const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
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
