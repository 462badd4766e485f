#include "uci/option_announcement.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "platform/priority.h"
#include "settings/text_util.h"

namespace vantro {

namespace {

constexpr std::string_view kExtrasName = "Extras";

std::string Prefix(std::string_view name) {
  std::string line = "option name ";
  line += name;
  return line;
}

// An empty value shows as "<empty>", never as a trailing blank.
std::string StringLine(std::string_view name, std::string_view value) {
  return Prefix(name) + " type string default " + std::string(value.empty() ? kEmptyText : value);
}

// A decoded value is shown with its escapes, so that a line feed in it can
// never end the option line early.
std::string EscapedStringLine(std::string_view name, std::string_view value) {
  return StringLine(name, IsSet(value) ? EscapeC(value) : std::string(value));
}

std::string SpinLine(std::string_view name, int value, SpinRange range) {
  return Prefix(name) + " type spin default " + std::to_string(value) + " min " +
         std::to_string(range.min) + " max " + std::to_string(range.max);
}

std::string CheckLine(std::string_view name, bool value) {
  return Prefix(name) + " type check default " + (value ? "true" : "false");
}

std::string ComboLine(std::string_view name, std::string_view current,
                      const std::vector<std::string_view>& items) {
  std::string line = Prefix(name) + " type combo default " + std::string(current);
  for (std::string_view item : items) {
    line += " var ";
    line += item;
  }
  return line;
}

std::string EditLine(int edit) {
  static const std::vector<std::string_view> kItems = {"setboard", "edit", "cb-edit"};
  std::string_view current = kItems[0];
  if (edit == kEditEdit) current = kItems[1];
  if (edit == kEditCbEdit) current = kItems[2];
  return ComboLine("Edit", current, kItems);
}

std::string PriorityLine(int priority) {
  static const std::vector<std::string_view> kItems = {"Normal", "BelowNormal", "Low"};
  std::string_view current = kItems[0];
  if (priority == kThreadPriorityBelowNormal) current = kItems[1];
  if (priority == kThreadPriorityIdle) current = kItems[2];
  return ComboLine("Priority", current, kItems);
}

std::string LevelExtendLine(int policy) {
  static const std::vector<std::string_view> kItems = {"Progressive", "Strict", "Failsafe", "None"};
  const bool known = policy >= kLevelProgressive && policy <= kLevelFailsafe;
  return ComboLine("LevelExtend", kItems[known ? policy : kLevelNone], kItems);
}

std::string MoveTimeLine(int style) {
  static const std::vector<std::string_view> kItems = {"st", "level", "clock"};
  const bool known = style >= kMoveTimeSt && style <= kMoveTimeClock;
  return ComboLine("MoveTime", kItems[known ? style : kMoveTimeSt], kItems);
}

std::string EngineOptionLine(const EngineOption& option) {
  switch (option.type) {
    case EngineOptionType::kSpin:
      return Prefix(option.name) + " type spin default " + option.defaultText + " min " +
             option.extra1 + " max " + option.extra2;
    case EngineOptionType::kCheck:
      return Prefix(option.name) + " type check default " + option.defaultText;
    case EngineOptionType::kString:
      return StringLine(option.name, option.defaultText);
    case EngineOptionType::kButton:
      return Prefix(option.name) + " type button";
    case EngineOptionType::kCombo:
      return ComboLine(option.name, option.defaultText, SplitWords(option.extra1, "|"));
  }
  return {};
}

}  // namespace

bool IsOptionVisible(const Settings& settings, std::string_view name) {
  if (!settings.visibilityRestricted) return true;
  return std::find(settings.visibleOptions.begin(), settings.visibleOptions.end(), name) !=
         settings.visibleOptions.end();
}

std::vector<std::string> OptionLines(const Settings& settings, const EngineOptionList& options,
                                     bool logFileOpen) {
  std::vector<std::string> lines;
  if (IsOptionVisible(settings, kExtrasName)) {
    for (const EngineOption& option : options) lines.push_back(EngineOptionLine(option));
  }
  const Settings& s = settings;
  const std::pair<std::string_view, std::string> adapterLines[] = {
      {"Program", StringLine("Program", s.program)},
      {"InitString", EscapedStringLine("InitString", s.initString)},
      {"MoveNow", EscapedStringLine("MoveNow", s.moveNow)},
      {"Hash", SpinLine("Hash", s.hash, kHashRange)},
      {"HashCommand", EscapedStringLine("HashCommand", s.hashCommand)},
      {"HashFormula", StringLine("HashFormula", s.hashFormula)},
      {"HashOnCommandline", CheckLine("HashOnCommandline", s.hashOnCommandLine)},
      {"InitTime", SpinLine("InitTime", s.initTime, kInitTimeRange)},
      {"Delay", SpinLine("Delay", s.delay, kDelayRange)},
      {"LevelType", SpinLine("LevelType", s.levelType, kLevelTypeRange)},
      {"SlowDown", SpinLine("SlowDown", s.slowDown, kSlowDownRange)},
      {"Edit", EditLine(s.edit)},
      {"Ponder", CheckLine("Ponder", s.ponder)},
      {"OwnBook", CheckLine("OwnBook", s.ownBook)},
      {"ShowThinkingMove", CheckLine("ShowThinkingMove", s.showThinkingMove)},
      {"Analyze", CheckLine("Analyze", s.analyze)},
      {"UseUndo", CheckLine("UseUndo", s.useUndo)},
      {"WhiteScore", CheckLine("WhiteScore", s.whiteScore)},
      {"Logfile", CheckLine("Logfile", logFileOpen)},
      {"Priority", PriorityLine(s.priority)},
      {"RunIdle", CheckLine("RunIdle", s.runIdle)},
      {"Computer", CheckLine("Computer", s.computer)},
      {"SimulateHint", CheckLine("SimulateHint", s.simulateHint)},
      {"LevelExtend", LevelExtendLine(s.levelExtend)},
      {"MoveTime", MoveTimeLine(s.moveTime)},
      {"Protocol", SpinLine("Protocol", s.protocol, kProtocolRange)},
      {"Noise", SpinLine("Noise", s.noise, kNoiseRange)},
      {"Help", Prefix("Help") + " type button"},
  };
  for (const auto& [visibilityName, line] : adapterLines) {
    if (IsOptionVisible(settings, visibilityName)) lines.push_back(line);
  }
  return lines;
}

void AnnounceOptions(GuiWriter& gui, const Settings& settings, const EngineOptionList& options,
                     bool logFileOpen) {
  for (const std::string& line : OptionLines(settings, options, logFileOpen)) gui.Send(line);
}

}  // namespace vantro
