#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

namespace vantro::fake {

// The only writer of the fake's log (its form is in docs/testing.md),
// standard output and standard error. Each log entry is one write, so tests
// can read the log while the fake runs. Without a log path nothing is logged.
class EngineIo {
 public:
  explicit EngineIo(const std::string& logPath);
  ~EngineIo();
  EngineIo(const EngineIo&) = delete;
  EngineIo& operator=(const EngineIo&) = delete;

  void Received(std::string_view line) { Write(logFd_, line.starts_with('@') ? "@" : "", line); }
  void Note(std::string_view name, std::string_view detail = {}) {
    Write(logFd_, "@", std::string(name) + (detail.empty() ? "" : " ") + std::string(detail));
  }
  // As it is, no line feed added; fd 1 is standard output, 2 standard error.
  void Print(std::string_view text, int fd = 1) { Write(fd, "", text); }
  // Notes the status and ends the process at once, wherever the other threads are.
  [[noreturn]] void Exit(int status);

 private:
  // To the log: a time-stamped line; to the other files: `text` as it is.
  void Write(int fd, std::string_view prefix, std::string_view text);

  std::mutex mutex_;
  int logFd_ = -1;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace vantro::fake
