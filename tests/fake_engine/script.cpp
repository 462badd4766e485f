#include "script.h"

#include <charconv>

#include "core/text.h"

namespace vantro::fake {
namespace {

// The first word of `text` and the trimmed rest after it.
std::pair<std::string_view, std::string_view> SplitFirstWord(std::string_view text) {
  text = Trim(text);
  const size_t end = text.find_first_of(kBlanks);
  if (end == std::string_view::npos) return {text, {}};
  return {text.substr(0, end), Trim(text.substr(end))};
}

// A whole decimal number in [minimum, maximum], or nothing.
template <typename T>
std::optional<T> ReadNumber(std::string_view text, T minimum, T maximum) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  if (value < minimum || value > maximum) return {};
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Resolves \n \r \t \\ and \xHH, so that scripts can print carriage returns,
// several lines in one write, or arbitrary bytes. False on an unknown escape.
bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x': {
        if (i + 2 >= text.size()) return false;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

// Reads one action; an error text when it cannot.
std::optional<std::string> ParseAction(std::string_view text, Action& action) {
  const auto [name, rest] = SplitFirstWord(text);
  if (name == "once") {
    if (rest.empty()) return "once needs an action";
    auto error = ParseAction(rest, action);
    action.once = true;
    return error;
  }
  if (name == "print" || name == "print-raw" || name == "stderr") {
    action.kind = name == "print"       ? Action::Kind::kPrint
                  : name == "print-raw" ? Action::Kind::kPrintRaw
                                        : Action::Kind::kStderr;
    if (!Unescape(rest, action.text)) return "bad escape in '" + std::string(rest) + "'";
    return {};
  }
  if (name == "sleep") {
    const auto ms = ReadNumber<int>(rest, 0, kMaxSleepMs);
    if (!ms) return "sleep needs milliseconds, not '" + std::string(rest) + "'";
    action.kind = Action::Kind::kSleep;
    action.number = *ms;
    return {};
  }
  if (name == "exit") {
    const auto code = rest.empty() ? std::optional<int>(0) : ReadNumber<int>(rest, 0, 255);
    if (!code) return "exit status must be 0..255, not '" + std::string(rest) + "'";
    action.kind = Action::Kind::kExit;
    action.number = *code;
    return {};
  }
  if (name == "ignore") {
    if (!rest.empty()) return "ignore takes nothing";
    action.kind = Action::Kind::kIgnore;
    return {};
  }
  return "unknown action '" + std::string(name) + "'";
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
    if (word.empty()) return "on needs a word and an action";
    Rule rule{std::string(word), {}};
    if (auto error = ParseAction(actionText, rule.action)) return error;
    script.rules.push_back(rule);
    return {};
  }
  if (keyword == "mode") {
    if (rest != "play") return "the only mode is 'play'";
    script.playMode = true;
    return {};
  }
  if (keyword == "move-delay") {
    const auto minimum = ReadNumber<int>(GetWord(rest, 1), 0, kMaxSleepMs);
    const auto maximum = ReadNumber<int>(GetWord(rest, 2), 0, kMaxSleepMs);
    if (!minimum || !maximum || *minimum > *maximum || !GetWord(rest, 3).empty()) {
      return "move-delay needs <min-ms> <max-ms> with min <= max";
    }
    script.minDelayMs = *minimum;
    script.maxDelayMs = *maximum;
    return {};
  }
  if (keyword == "seed") {
    const auto seed = ReadNumber<std::uint64_t>(rest, 0, UINT64_MAX);
    if (!seed) return "seed needs a number";
    script.seed = seed;
    return {};
  }
  if (keyword == "move-format") {
    if (rest == "coord") {
      script.moveFormat = MoveFormat::kCoord;
    } else if (rest == "san") {
      script.moveFormat = MoveFormat::kSan;
    } else {
      return "move-format is 'coord' or 'san'";
    }
    return {};
  }
  return "unknown keyword '" + std::string(keyword) + "'";
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

std::string SubstituteWords(std::string_view text, std::string_view line) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '$' && next == '$') {
      out += '$';
      ++i;
    } else if (text[i] == '$' && next == '0') {
      out += line;
      ++i;
    } else if (text[i] == '$' && next >= '1' && next <= '9') {
      out += GetWord(line, next - '0');
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace vantro::fake
