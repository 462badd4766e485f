#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantro::fake {

struct Action {
  enum class Kind {
    kPrint,
    kPrintRaw,
    kStderr,
    kRepeat,
    kSleep,
    kExit,
    kSignal,
    kStopReading,
    kIgnore
  };
  Kind kind = Kind::kIgnore;
  std::string text;  // print, print-raw, stderr, repeat: escapes already resolved
  int number = 0;    // sleep: milliseconds; exit: status; signal: number; repeat: count
};

// "on <word> <action>"; the word "*" matches every line.
struct Rule {
  std::string word;
  Action action;
};

// A parsed script. Bad lines are listed in `errors` with their line number and
// otherwise left out; the fake refuses to run a script that has any.
struct Script {
  std::vector<Action> startActions;
  std::vector<Rule> rules;
  bool playMode = false;
  // Play mode answering on the reading thread, a search's output in one write.
  bool instant = false;
  int thinkLines = 1;  // instant mode: thinking lines before each move
  int minDelayMs = 0;
  int maxDelayMs = 0;
  std::optional<std::uint64_t> seed;
  std::vector<std::string> errors;
};

// Longest sleep a script may ask for; longer values are typing errors.
inline constexpr int kMaxSleepMs = 24 * 60 * 60 * 1000;

Script ParseScript(std::string_view text);

}  // namespace vantro::fake
