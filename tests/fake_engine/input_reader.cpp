#include "input_reader.h"

#include <unistd.h>

#include <cerrno>

namespace vantro::fake {

InputReader::InputReader(EngineLog& log) : log_(log), thread_([this] { ReadLoop(); }) {}

InputReader::~InputReader() {
  if (thread_.joinable()) thread_.join();
}

std::optional<std::string> InputReader::Next() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !lines_.empty() || ended_; });
  if (lines_.empty()) return {};
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

void InputReader::ReadLoop() {
  std::string line;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    for (ssize_t i = 0; i < got; ++i) {
      if (buffer[i] == '\n') {
        Deliver(std::move(line));
        line.clear();
      } else if (line.size() < kMaxLineBytes) {
        line += buffer[i];
      }
    }
  }
  if (!line.empty()) Deliver(std::move(line));
  log_.Note("eof", "");
  std::lock_guard lock(mutex_);
  ended_ = true;
  changed_.notify_all();
}

void InputReader::Deliver(std::string line) {
  if (line.ends_with('\r')) line.pop_back();
  log_.Received(line);
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
  changed_.notify_all();
}

}  // namespace vantro::fake
