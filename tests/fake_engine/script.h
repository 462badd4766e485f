#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantro::fake {

struct Action {
  std::string name;  // "print", "print-raw", "stderr", "repeat", "sleep", "exit", ...
  std::string text;  // escapes resolved; print and stderr: with the line feed
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
  int thinkLines = 1;  // thinking lines at the start of each search
  int minDelayMs = 0;
  int maxDelayMs = 0;
  std::optional<std::uint64_t> seed;
  std::vector<std::string> errors;
};

Script ParseScript(std::string_view text);

}  // namespace vantro::fake
