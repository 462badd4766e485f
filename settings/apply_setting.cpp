#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/priority.h"
#include "settings/engine_options.h"
#include "settings/settings.h"
#include "settings/text_util.h"

namespace vantro {

namespace {

constexpr std::string_view kValueWord = "value";
// The first two words (the command word and "name") are not examined.
constexpr int kFirstNameWord = 3;

// The name and value of an option command, taken apart by the word rules.
struct OptionCommand {
  std::string name;
  std::string value;
  bool hasValue = false;
};

void AppendWord(std::string& joined, std::string_view word) {
  if (!joined.empty()) joined += ' ';
  joined += word;
}

OptionCommand SplitOptionCommand(const std::vector<std::string_view>& words) {
  OptionCommand command;
  for (std::size_t i = kFirstNameWord - 1; i < words.size(); ++i) {
    const std::string_view word = words[i];
    if (!command.hasValue && word == kValueWord) {
      command.hasValue = true;
    } else {
      AppendWord(command.hasValue ? command.value : command.name, word);
    }
  }
  return command;
}

// The integer settings that tell a running engine about a change only when
// the value really changes.
void StoreIfChanged(std::atomic<int>& field, int value, SettingActions& actions,
                    void (SettingActions::*changed)()) {
  if (field.load() == value) return;
  field.store(value);
  (actions.*changed)();
}

// EDIT, PRIORITY and LEVELEXTEND pick by the first character; an empty value
// has none and falls to the default branch.
char FirstUpper(std::string_view value) {
  return value.empty() ? '\0' : ToUpper(value[0]);
}

int EditFromValue(std::string_view value) {
  switch (FirstUpper(value)) {
    case '1':
    case 'E':
      return kEditEdit;
    case '2':
    case 'C':
      return kEditCbEdit;
    default:
      return kEditSetboard;
  }
}

int PriorityFromValue(std::string_view value) {
  switch (FirstUpper(value)) {
    case '1':
    case 'B':
      return kThreadPriorityBelowNormal;
    case '2':
    case 'L':
      return kThreadPriorityIdle;
    default:
      return kThreadPriorityNormal;
  }
}

int LevelExtendFromValue(std::string_view value) {
  switch (FirstUpper(value)) {
    case '0':
    case 'P':
      return kLevelProgressive;
    case '1':
    case 'S':
      return kLevelStrict;
    case '2':
    case 'F':
      return kLevelFailsafe;
    default:
      return kLevelNone;
  }
}

// A spin value beyond its announced range would ask for thousands of spin
// threads or hold every engine line for minutes: keep it inside.
int Clamped(std::string_view value, SpinRange range) {
  return std::clamp(ParseInt(value), range.min, range.max);
}

std::string DecodeHashCommand(std::string_view value) {
  std::string command = UnescapeC(value);
  return command.empty() ? command : WithIntConversion(std::move(command));
}

// Stores a setting with a value; false when the key is no setting key.
bool StoreSetting(const std::string& key, const std::string& value, Settings& s,
                  SettingActions& actions) {
  if (key == "PROGRAM") {
    s.program = value;
  } else if (key == "INITSTRING") {
    s.initString = UnescapeC(value);
  } else if (key == "MOVENOW") {
    s.moveNow = UnescapeC(value);
  } else if (key == "EXITANALYSIS") {
    s.exitAnalysis = UnescapeC(value);
  } else if (key == "NUDGE") {
    s.nudge = UnescapeC(value);
  } else if (key == "HASHCOMMAND") {
    s.hashCommand = DecodeHashCommand(value);
  } else if (key == "INITTIME") {
    s.initTime = Clamped(value, kInitTimeRange);
  } else if (key == "DELAY") {
    s.delay = Clamped(value, kDelayRange);
  } else if (key == "LEVELTYPE") {
    s.levelType = Clamped(value, kLevelTypeRange);
  } else if (key == "HASH") {
    StoreIfChanged(s.hash, Clamped(value, kHashRange), actions, &SettingActions::HashChanged);
  } else if (key == "NOISE") {
    StoreIfChanged(s.noise, Clamped(value, kNoiseRange), actions, &SettingActions::NoiseChanged);
  } else if (key == "SLOWDOWN") {
    StoreIfChanged(s.slowDown, Clamped(value, kSlowDownRange), actions,
                   &SettingActions::SlowDownChanged);
  } else if (key == "PROTOCOL") {
    s.protocol = Clamped(value, kProtocolRange);
  } else if (key == "HASHFORMULA") {
    s.hashFormula = ToUpper(value);
  } else if (key == "EDIT") {
    s.edit = EditFromValue(value);
  } else if (key == "PRIORITY") {
    s.priority = PriorityFromValue(value);
  } else if (key == "ANALYZE") {
    s.analyze = ParseBool(value);
  } else if (key == "USEUNDO") {
    s.useUndo = ParseBool(value);
  } else if (key == "RUNIDLE") {
    s.runIdle = ParseBool(value);
  } else if (key == "COMPUTER") {
    s.computer = ParseBool(value);
    actions.ComputerSet(s.computer);
  } else if (key == "SHOWTHINKINGMOVE") {
    actions.ShowThinkingMoveChanging();
    s.showThinkingMove = ParseBool(value);
    actions.ShowThinkingMoveSet(s.showThinkingMove);
  } else if (key == "TERMINATEHARD") {
    s.terminateHard = ParseBool(value);
  } else if (key == "PONDER") {
    s.ponder = ParseBool(value);
    actions.PonderSet();
  } else if (key == "HASHONCOMMANDLINE") {
    s.hashOnCommandLine = ParseBool(value);
  } else if (key == "LEVELEXTEND") {
    s.levelExtend = LevelExtendFromValue(value);
  } else if (key == "MOVETIME") {
    const char first = FirstUpper(value);
    s.moveTime = first == 'L' || first == '1'   ? kMoveTimeLevel
                 : first == 'C' || first == '2' ? kMoveTimeClock
                                                : kMoveTimeSt;
  } else if (key == "WHITESCORE") {
    s.whiteScore = ParseBool(value);
  } else if (key == "SIMULATEHINT") {
    s.simulateHint = ParseBool(value);
  } else if (key == "OWNBOOK") {
    s.ownBook = ParseBool(value);
  } else if (key == "MATESCORE") {
    // A text that names no convention leaves the one in force.
    if (std::optional<MateConvention> convention = ParseMateConvention(value)) {
      s.mateConstant = convention->constant;
      s.mateFalling = convention->falling;
      s.mateInPlies = convention->plies;
    }
  } else if (key == "ENGINEOPTIONS") {
    s.engineOptions = ParseBool(value);
  } else if (key == "LOGFILE") {
    actions.LogFileSet(ParseBool(value));
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool IsSettingKey(std::string_view name) {
  static constexpr std::string_view kKeys[] = {
      "PROGRAM",       "INITSTRING",    "HASHCOMMAND",
      "INITTIME",      "DELAY",         "LEVELTYPE",
      "HASH",          "NOISE",         "SLOWDOWN",
      "PROTOCOL",      "HASHFORMULA",   "EDIT",
      "PRIORITY",      "ANALYZE",       "USEUNDO",
      "RUNIDLE",       "COMPUTER",      "SHOWTHINKINGMOVE",
      "TERMINATEHARD", "PONDER",        "HASHONCOMMANDLINE",
      "LEVELEXTEND",   "WHITESCORE",    "SIMULATEHINT",
      "OWNBOOK",       "LOGFILE",       "HELP",
      "MATESCORE",     "ENGINEOPTIONS", "EXITANALYSIS",
      "NUDGE"};
  const std::string key = ToUpper(name);
  for (std::string_view k : kKeys) {
    if (key == k) return true;
  }
  return false;
}

void ApplySetting(std::string_view line, Settings& settings, SettingActions& actions) {
  const std::vector<std::string_view> words = SplitWords(line);
  if (words.size() < static_cast<std::size_t>(kFirstNameWord)) return;
  OptionCommand command = SplitOptionCommand(words);
  const std::string key = ToUpper(command.name);
  if (!command.hasValue) {
    if (key == "HELP") {
      actions.OpenHelp();
    } else {
      actions.SetEngineOption(command.name, "");
    }
    return;
  }
  // Words are already joined by single blanks, so the value needs no trimming.
  if (command.value.empty()) return;
  if (command.value == kEmptyText) command.value.clear();
  if (!StoreSetting(key, command.value, settings, actions)) {
    actions.SetEngineOption(command.name, command.value);
  }
}

}  // namespace vantro
