#include "support/engine_log.h"

#include <charconv>
#include <thread>

#include "support/temp_dir.h"

namespace vantro::test {
namespace {

// The log is a file written by another process: there is nothing to wait on,
// so it is read again after this pause.
constexpr Duration kPollInterval{20};

}  // namespace

FakeEngineLog ReadEngineLog(const std::string& path) {
  const std::string text = ReadFile(path);
  FakeEngineLog log;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string_view line(text.data() + start, end - start);
    EngineLogEntry entry;
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), entry.ms);
    if (error != std::errc() || rest == line.data() + line.size() || *rest != ' ') continue;
    const std::string_view body = line.substr(rest + 1 - line.data());
    const bool note = body.starts_with('@') && !body.starts_with("@@");
    entry.text = body.substr(body.starts_with('@') ? 1 : 0);
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
    const std::string_view text = entry.text;
    if (text == name) texts.emplace_back();
    if (text.starts_with(name) && text.size() > name.size() && text[name.size()] == ' ') {
      texts.emplace_back(text.substr(name.size() + 1));
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
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace vantro::test
