#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/piped_process.h"

namespace vantro::test {

struct EngineLogEntry {
  long long ms = 0;  // since the fake engine started
  std::string text;
};

// The fake engine's log read back: the lines it received, and its own notes
// (the "@" lines, here without the "@": "args ...", "cwd ...", "seed 7",
// "illegal e2e5", "eof", "exit 0"). A last line still being written is left out.
struct FakeEngineLog {
  std::vector<EngineLogEntry> received;
  std::vector<EngineLogEntry> notes;

  std::vector<std::string> ReceivedLines() const;
  // The details of the notes named `name`.
  std::vector<std::string> Notes(std::string_view name) const;
};

FakeEngineLog ReadEngineLog(const std::string& path);

// Polls the log until a received line equals `text`; nothing after `timeout`.
std::optional<EngineLogEntry> WaitForEngineLine(const std::string& path, std::string_view text,
                                                Duration timeout);

}  // namespace vantro::test
