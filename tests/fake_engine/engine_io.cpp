#include "engine_io.h"

#include <unistd.h>

#include <cstdio>

#include "platform/process_env.h"

namespace vantro::fake {

EngineIo::EngineIo(const std::string& logPath) : start_(std::chrono::steady_clock::now()) {
  if (!logPath.empty()) log_.OpenForAppending(logPath);
}

void EngineIo::Print(std::string_view text, bool toStandardError) {
  std::lock_guard lock(mutex_);
  if (!toStandardError) {
    WriteAll(StandardOutput(), text);
  } else {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
  }
}

void EngineIo::Log(std::string_view prefix, std::string_view text) {
  std::lock_guard lock(mutex_);  // taken before the clock is read, so entries stay in time order
  if (!log_.IsOpen()) return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
  log_.Write(std::to_string(ms) + " " + std::string(prefix) + std::string(text) + "\n");
}

void EngineIo::Exit(int status) {
  Note("exit", std::to_string(status));
  ::_exit(status);
}

}  // namespace vantro::fake
