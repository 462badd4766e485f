#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/line_matcher.h"
#include "support/piped_process.h"

namespace vantro::test {

struct EngineLogEntry {
  long long ms = 0;  // since the fake engine started
  std::string text;
};

// What the fake engine wrote to its log, read back: the lines it received,
// and its own notes (the "@" lines, here without the "@": "args ...",
// "cwd ...", "out <printed text>", "seed 7", "illegal e2e5", "exit 0", ...).
// A last line still being written is left out.
struct FakeEngineLog {
  std::vector<EngineLogEntry> received;
  std::vector<EngineLogEntry> notes;

  std::vector<std::string> ReceivedLines() const;
  // Texts of the notes named `name` ("out" gives every printed line).
  std::vector<std::string> Notes(std::string_view name) const;
  // The first received line at index `from` or later that equals `text` (or matches).
  std::optional<EngineLogEntry> Find(std::string_view text, size_t from = 0) const;
  std::optional<EngineLogEntry> Find(const LineMatcher& matcher, size_t from = 0) const;
};

FakeEngineLog ReadEngineLog(const std::string& path);

// Polls the log until a received line equals `text` (or matches), skipping
// the first `skip` received lines; nothing after `timeout`.
std::optional<EngineLogEntry> WaitForEngineLine(const std::string& path, std::string_view text,
                                                Duration timeout, size_t skip = 0);
std::optional<EngineLogEntry> WaitForEngineLine(const std::string& path, const LineMatcher& matcher,
                                                Duration timeout, size_t skip = 0);

// Polls the log until the fake notes its exit ("@exit", also written at end of
// input) and returns its status; nothing after `timeout`. A test that checks
// everything the engine received after Vantro has ended waits for this
// first: Vantro may end before its engine has read its last lines.
std::optional<int> WaitForEngineExit(const std::string& path, Duration timeout);

}  // namespace vantro::test
