#include "script.h"

#include <charconv>

#include "base/text.h"

namespace vantro::fake {
namespace {

// The first word of `text` (which starts with no blank) and the trimmed rest.
std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text) {
  const std::string_view word = GetWord(text, 1);
  return {word, Trim(text.substr(word.size()))};
}

// A whole decimal number in [0, maximum], or nothing.
template <typename T>
std::optional<T> ReadNumber(std::string_view text, T maximum) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && error == std::errc() && end == text.data() + text.size();
  if (!whole || text.front() == '-' || value > maximum) return {};
  return value;
}

// Resolves \n \r \t \\ \0 and \xHH, so that scripts can print carriage
// returns, several lines in one write, or binary garbage. False on any other escape.
bool Unescape(std::string_view text, std::string& out) {
  constexpr std::string_view kEscaped = "nrt\\0";
  constexpr std::string_view kMeaning{"\n\r\t\\\0", 5};
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 3 < text.size() && text[i + 1] == 'x') {
      unsigned byte = 0;
      const char* digits = text.data() + i + 2;
      const auto [end, error] = std::from_chars(digits, digits + 2, byte, 16);
      if (error != std::errc() || end != digits + 2) return false;
      out += static_cast<char>(byte);
      i += 3;
      continue;
    }
    const size_t kind = ++i < text.size() ? kEscaped.find(text[i]) : std::string_view::npos;
    if (kind == std::string_view::npos) return false;
    out += kMeaning[kind];
  }
  return true;
}

// Reads one action; an error text when it cannot.
std::optional<std::string> ParseAction(std::string_view text, Action& action) {
  const auto [name, rest] = SplitFirstWord(text);
  const std::string restText(rest);
  if (name == "print" || name == "print-raw" || name == "stderr") {
    action.kind = name == "print"       ? Action::Kind::kPrint
                  : name == "print-raw" ? Action::Kind::kPrintRaw
                                        : Action::Kind::kStderr;
    if (!Unescape(rest, action.text)) return "bad escape in '" + restText + "'";
    return {};
  }
  if (name == "repeat") {
    const auto [count, repeated] = SplitFirstWord(rest);
    const auto times = ReadNumber<int>(count, 1 << 30);
    action.kind = Action::Kind::kRepeat;
    if (!times || repeated.empty()) return "repeat needs <count> <text>";
    action.number = *times;
    if (!Unescape(repeated, action.text)) return "bad escape in '" + restText + "'";
    return {};
  }
  if (name == "signal") {
    const auto number = ReadNumber<int>(rest, 64);
    if (!number || *number == 0) return "signal needs a signal number, not '" + restText + "'";
    action = {Action::Kind::kSignal, {}, *number};
    return {};
  }
  if (name == "stop-reading" && rest.empty()) {
    action.kind = Action::Kind::kStopReading;
    return {};
  }
  if (name == "sleep") {
    const auto ms = ReadNumber<int>(rest, kMaxSleepMs);
    if (!ms) return "sleep needs milliseconds, not '" + restText + "'";
    action = {Action::Kind::kSleep, {}, *ms};
    return {};
  }
  if (name == "exit") {
    const auto code = rest.empty() ? std::optional<int>(0) : ReadNumber<int>(rest, 255);
    if (!code) return "exit status must be 0..255, not '" + restText + "'";
    action = {Action::Kind::kExit, {}, *code};
    return {};
  }
  if (name == "ignore" && rest.empty()) return {};
  return "unknown action '" + std::string(text) + "'";
}

// Reads one non-empty, non-comment line into `script`; an error text when it cannot.
std::optional<std::string> ParseLine(std::string_view line, Script& script) {
  const auto [keyword, rest] = SplitFirstWord(line);
  if (keyword == "start") {
    Action action;
    if (auto error = ParseAction(rest, action)) return error;
    script.startActions.push_back(action);
    return {};
  }
  if (keyword == "on") {
    const auto [word, actionText] = SplitFirstWord(rest);
    Rule rule{std::string(word), {}};
    if (auto error = ParseAction(actionText, rule.action)) return error;
    script.rules.push_back(rule);
    return {};
  }
  if (keyword == "mode" && (rest == "play" || rest == "instant")) {
    script.playMode = true;
    script.instant = rest == "instant";
    return {};
  }
  if (keyword == "think-lines") {
    const auto lines = ReadNumber<int>(rest, 1000000);
    if (!lines) return "think-lines needs a count";
    script.thinkLines = *lines;
    return {};
  }
  if (keyword == "move-delay") {
    const auto minimum = ReadNumber<int>(GetWord(rest, 1), kMaxSleepMs);
    const auto maximum = ReadNumber<int>(GetWord(rest, 2), kMaxSleepMs);
    if (!minimum || !maximum || *minimum > *maximum || !GetWord(rest, 3).empty()) {
      return "move-delay needs <min-ms> <max-ms> with min <= max";
    }
    script.minDelayMs = *minimum;
    script.maxDelayMs = *maximum;
    return {};
  }
  if (keyword == "seed") {
    script.seed = ReadNumber<std::uint64_t>(rest, UINT64_MAX);
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
