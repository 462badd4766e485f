#include "script.h"

#include <algorithm>

#include "base/text.h"
#include "settings/text_util.h"

namespace vantro::fake {
namespace {

// Longest sleep or move delay a script may ask for; longer values are typing errors.
constexpr int kMaxMs = 24 * 60 * 60 * 1000;

// What follows an action's name: a number in [minimum, maximum] when maximum
// is not 0, then, when `text`, the rest of the line.
struct Shape {
  std::string_view name;
  int minimum;
  int maximum;
  bool text;
};
constexpr Shape kShapes[] = {{"print", 0, 0, true},       {"print-raw", 0, 0, true},
                             {"stderr", 0, 0, true},      {"repeat", 0, 1 << 30, true},
                             {"sleep", 0, kMaxMs, false}, {"exit", 0, 255, false},
                             {"signal", 1, 64, false},    {"stop-reading", 0, 0, false}};

// The first word of `text` (which starts with no blank) and the trimmed rest.
std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text) {
  const std::string_view word = GetWord(text, 1);
  return {word, Trim(text.substr(word.size()))};
}

// A whole decimal number in [0, maximum], written plainly, or nothing.
std::optional<long long> ReadNumber(std::string_view text, long long maximum) {
  const long long value = ParseInt64(text);
  if (std::to_string(value) != text || value < 0 || value > maximum) return {};
  return value;
}

// Reads one action; an error text when it cannot.
std::optional<std::string> ParseAction(std::string_view text, Action& action) {
  auto [name, rest] = SplitFirstWord(text);
  const Shape* shape = std::ranges::find(kShapes, name, &Shape::name);
  if (shape == std::end(kShapes)) return "unknown action '" + std::string(text) + "'";
  const std::string bad = "bad arguments in '" + std::string(text) + "'";
  action.name = name;
  if (shape->maximum != 0) {
    auto [number, after] = SplitFirstWord(rest);
    const auto value = name == "exit" && number.empty() ? 0 : ReadNumber(number, shape->maximum);
    if (!value || *value < shape->minimum || (shape->text && after.empty())) return bad;
    action.number = *value;
    rest = after;
  }
  if (!shape->text) return rest.empty() ? std::nullopt : std::optional(bad);
  // C escapes, as in definition files: carriage returns, several lines in one
  // write, or binary garbage.
  action.text = UnescapeC(rest);
  if (name == "print" || name == "stderr") action.text += '\n';
  return {};
}

// Reads one non-empty, non-comment line into `script`; an error text when it cannot.
std::optional<std::string> ParseLine(std::string_view line, Script& script) {
  const auto [keyword, rest] = SplitFirstWord(line);
  if (keyword == "start" || keyword == "on") {
    const auto [word, actionText] = SplitFirstWord(rest);
    Action action;
    if (auto error = ParseAction(keyword == "on" ? actionText : rest, action)) return error;
    if (keyword == "start") script.startActions.push_back(std::move(action));
    if (keyword == "on") script.rules.push_back({std::string(word), std::move(action)});
    return {};
  }
  if (keyword == "mode" && (rest == "play" || rest == "instant")) {
    script.playMode = true;
    script.instant = rest == "instant";
    return {};
  }
  if (keyword == "think-lines") {
    const auto lines = ReadNumber(rest, 1000000);
    if (!lines) return "think-lines needs a count";
    script.thinkLines = *lines;
    return {};
  }
  if (keyword == "move-delay") {
    const auto minimum = ReadNumber(GetWord(rest, 1), kMaxMs);
    const auto maximum = ReadNumber(GetWord(rest, 2), kMaxMs);
    if (!minimum || !maximum || *minimum > *maximum || !GetWord(rest, 3).empty()) {
      return "move-delay needs <min-ms> <max-ms> with min <= max";
    }
    script.minDelayMs = *minimum;
    script.maxDelayMs = *maximum;
    return {};
  }
  if (keyword == "seed") {
    script.seed = ReadNumber(rest, INT64_MAX);
    if (!script.seed) return "seed needs a number";
    return {};
  }
  return "unknown line '" + std::string(line) + "'";
}

}  // namespace

Script ParseScript(std::string_view text) {
  Script script;
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    if (auto error = ParseLine(line, script)) {
      script.errors.push_back("line " + std::to_string(lineNumber) + ": " + *error);
    }
  }
  return script;
}

}  // namespace vantro::fake
