#include "engine_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#ifndef O_CLOEXEC  // Windows: nothing is inherited that is not asked for
#define O_CLOEXEC 0
#endif
#ifndef O_BINARY  // POSIX: every file is binary
#define O_BINARY 0
#endif

namespace vantro::fake {

EngineIo::EngineIo(const std::string& logPath) : start_(std::chrono::steady_clock::now()) {
  if (!logPath.empty()) {
    logFd_ = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_BINARY, 0644);
  }
}

EngineIo::~EngineIo() {
  if (logFd_ >= 0) ::close(logFd_);
}

void EngineIo::Write(int fd, std::string_view prefix, std::string_view text) {
  if (fd < 0) return;
  std::lock_guard lock(mutex_);  // taken before the clock is read, so entries stay in time order
  std::string stamped;
  if (fd == logFd_) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start_)
                        .count();
    stamped = std::to_string(ms) + " " + std::string(prefix) + std::string(text) + "\n";
    text = stamped;
  }
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // the reader has gone
    text.remove_prefix(static_cast<size_t>(written));
  }
}

void EngineIo::Exit(int status) {
  Note("exit", std::to_string(status));
  ::_exit(status);
}

}  // namespace vantro::fake
