#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantro::fake {

// One step of a script rule. `once` actions run only the first time their
// rule fires; the runner keeps that memory, the parsed script stays constant.
struct Action {
  enum class Kind { kPrint, kPrintRaw, kStderr, kSleep, kExit, kIgnore };
  Kind kind = Kind::kIgnore;
  std::string text;  // print, print-raw, stderr: escapes already resolved, "$n" not yet
  int number = 0;    // sleep: milliseconds; exit: status
  bool once = false;
};

// "on <word> <action>"; the word "*" matches every line.
struct Rule {
  std::string word;
  Action action;
};

enum class MoveFormat { kCoord, kSan };

// A parsed script. Lines that cannot be read are listed in `errors` (with
// their line number) and otherwise left out, so a caller decides whether a
// faulty script may still run.
struct Script {
  std::vector<Action> startActions;
  std::vector<Rule> rules;
  bool playMode = false;
  int minDelayMs = 0;
  int maxDelayMs = 0;
  std::optional<std::uint64_t> seed;
  MoveFormat moveFormat = MoveFormat::kCoord;
  std::vector<std::string> errors;
};

// Longest sleep a script may ask for; longer values are typing errors.
inline constexpr int kMaxSleepMs = 24 * 60 * 60 * 1000;

Script ParseScript(std::string_view text);

// Replaces "$0" by `line` and "$1".."$9" by its words (empty beyond the last
// word); "$$" is one "$". Everything else is copied.
std::string SubstituteWords(std::string_view text, std::string_view line);

}  // namespace vantro::fake
