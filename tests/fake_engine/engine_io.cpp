#include "engine_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vantro::fake {

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

EngineLog::EngineLog(const std::string& path) : start_(std::chrono::steady_clock::now()) {
  if (!path.empty()) fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

EngineLog::~EngineLog() {
  if (fd_ >= 0) ::close(fd_);
}

void EngineLog::Received(std::string_view line) {
  Write(line.starts_with('@') ? "@" + OneLine(line) : OneLine(line));
}

void EngineLog::Note(std::string_view name, std::string_view detail) {
  std::string text = "@" + std::string(name);
  if (!detail.empty()) text += " " + OneLine(detail);
  Write(text);
}

void EngineLog::Write(std::string_view text) {
  if (fd_ < 0) return;
  std::lock_guard lock(mutex_);  // taken before the clock is read, so entries stay in time order
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
  const std::string entry = std::to_string(ms) + " " + std::string(text) + "\n";
  WriteAll(fd_, entry);
}

void EngineOutput::Print(std::string_view text) {
  std::lock_guard lock(mutex_);
  // Logged first: a test that sees the engine's answer may look for it in the log at once.
  log_.Note("out", text.ends_with('\n') ? text.substr(0, text.size() - 1) : text);
  WriteAll(STDOUT_FILENO, text);
}

void EngineOutput::PrintError(std::string_view text) {
  std::lock_guard lock(mutex_);
  WriteAll(STDERR_FILENO, std::string(text) + "\n");
}

}  // namespace vantro::fake
