#include "uci/option_announcement.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "platform/priority.h"

namespace vantro {

namespace {

constexpr std::string_view kExtrasName = "Extras";

std::string Prefix(std::string_view name) {
  std::string line = "option name ";
  line += name;
  return line;
}

// A value holding several engine lines is shown as it is written in the file,
// so that the option stays one line.
std::string StringLine(std::string_view name, std::string_view value) {
  std::string line = Prefix(name) + " type string default ";
  for (char c : value) {
    if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

std::string SpinLine(std::string_view name, int value, int min, int max) {
  return Prefix(name) + " type spin default " + std::to_string(value) + " min " +
         std::to_string(min) + " max " + std::to_string(max);
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
      {"InitString", StringLine("InitString", s.initString)},
      {"MoveNow", StringLine("MoveNow", s.moveNow)},
      {"Hash", SpinLine("Hash", s.hash, 0, 256)},
      {"HashCommand", StringLine("HashCommand", s.hashCommand)},
      {"HashFormula", StringLine("HashFormula", s.hashFormula)},
      {"HashOnCommandline", CheckLine("HashOnCommandline", s.hashOnCommandLine)},
      {"InitTime", SpinLine("InitTime", s.initTime, 0, 30)},
      {"Delay", SpinLine("Delay", s.delay, 0, 1000)},
      {"LevelType", SpinLine("LevelType", s.levelType, 1, 2)},
      {"SlowDown", SpinLine("SlowDown", s.slowDown, 1, 100)},
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
      {"Protocol", SpinLine("Protocol", s.protocol, 1, 2)},
      {"Noise", SpinLine("Noise", s.noise, -1, 99)},
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
