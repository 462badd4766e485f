#include "base/log.h"

#include <cstdio>

namespace vantro {

std::string Logger::Prefix(std::string_view tag) const {
  std::uint32_t ms = uptime_.Elapsed();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%u.%03u: ", ms / 1000, ms % 1000);
  std::string prefix = stamp;
  prefix += tag;
  prefix += ' ';
  return prefix;
}

void Logger::Log(std::string_view text, std::string_view tag) {
  if (!active_) return;
  std::lock_guard lock(mutex_);
  if (!holding_ && !file_.IsOpen()) return;
  std::string line = Prefix(tag);
  if (holding_) {
    // A GUI that never says whether it wants a log must not grow memory
    // without bound: lines beyond the cap are dropped.
    if (heldBytes_ + line.size() + text.size() > kMaxHeldBytes) return;
    line += text;
    heldBytes_ += line.size();
    held_.push_back(std::move(line));
    return;
  }
  file_.Write(line);
  file_.WriteLine(text);
}

void Logger::ApplyLogFile(bool on) {
  std::lock_guard lock(mutex_);
  if (on) {
    if (file_.IsOpen()) return;
    holding_ = false;
    if (file_.OpenForAppending(kFileName)) {
      for (const std::string& line : held_) file_.WriteLine(line);
    }
    held_.clear();
    heldBytes_ = 0;
    active_ = file_.IsOpen();
    return;
  }
  file_.Close();
  held_.clear();
  heldBytes_ = 0;
  holding_ = false;
  active_ = false;
}

void Logger::EndHolding() {
  std::lock_guard lock(mutex_);
  if (!holding_) return;
  holding_ = false;
  held_.clear();
  heldBytes_ = 0;
  active_ = file_.IsOpen();
}

void Logger::Close() {
  std::lock_guard lock(mutex_);
  file_.Close();
  active_ = holding_;
}

bool Logger::IsFileOpen() const {
  std::lock_guard lock(mutex_);
  return file_.IsOpen();
}

bool Logger::IsHolding() const {
  std::lock_guard lock(mutex_);
  return holding_;
}

}  // namespace vantro
