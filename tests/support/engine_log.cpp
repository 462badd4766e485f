#include "support/engine_log.h"

#include <algorithm>
#include <sstream>
#include <thread>

#include "base/text.h"
#include "support/temp_dir.h"

namespace vantro::test {

FakeEngineLog ReadEngineLog(const std::string& path) {
  FakeEngineLog log;
  std::istringstream text(ReadFile(path));
  // A line without its line feed is still being written.
  for (std::string line; std::getline(text, line) && !text.eof();) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    EngineLogEntry entry{ParseInt64(line), line.substr(blank + 1)};
    const bool note = entry.text.starts_with('@') && !entry.text.starts_with("@@");
    if (entry.text.starts_with('@')) entry.text.erase(0, 1);
    (note ? log.notes : log.received).push_back(std::move(entry));
  }
  return log;
}

std::vector<std::string> FakeEngineLog::ReceivedLines() const {
  std::vector<std::string> lines;
  for (const EngineLogEntry& entry : received) lines.push_back(entry.text);
  return lines;
}

std::vector<std::string> FakeEngineLog::Notes(std::string_view name) const {
  std::vector<std::string> texts;
  for (const EngineLogEntry& entry : notes) {
    if (GetWord(entry.text, 1) == name) {
      texts.push_back(entry.text.substr(std::min(entry.text.size(), name.size() + 1)));
    }
  }
  return texts;
}

std::optional<EngineLogEntry> WaitForEngineLine(const std::string& path, std::string_view text,
                                                Duration timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    for (EngineLogEntry& entry : ReadEngineLog(path).received) {
      if (entry.text == text) return entry;
    }
    if (std::chrono::steady_clock::now() >= deadline) return {};
    // Another process writes the log: there is nothing to wait on.
    std::this_thread::sleep_for(Duration(20));
  }
}

}  // namespace vantro::test
