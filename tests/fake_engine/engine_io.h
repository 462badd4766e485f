#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/text_file.h"

namespace vantro::fake {

// The only writer of the fake's log (its form is in docs/testing.md),
// standard output and standard error. Each log entry is one write, so tests
// can read the log while the fake runs. Without a log path nothing is logged.
class EngineIo {
 public:
  explicit EngineIo(const std::string& logPath);

  void Received(std::string_view line) { Log(line.starts_with('@') ? "@" : "", line); }
  void Note(std::string_view name, std::string_view detail = {}) {
    Log("@", std::string(name) + (detail.empty() ? "" : " ") + std::string(detail));
  }
  // As it is, no line feed added.
  void Print(std::string_view text, bool toStandardError = false);
  // Notes the status and ends the process at once, wherever the other threads are.
  [[noreturn]] void Exit(int status);

 private:
  void Log(std::string_view prefix, std::string_view text);

  std::mutex mutex_;
  TextFile log_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace vantro::fake
