#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/settings/recording_actions.h"

namespace vantro {
namespace {

using Calls = std::vector<std::string>;
using S = Settings;

const std::string kSet = "setoption name ";

TEST(ApplySettingTest, KeysMatchInAnyCaseAndActionsFollowTheRules) {
  const std::pair<std::string, Calls> cases[] = {
      {kSet + "hash value 32", {"HashChanged"}},
      {"anything at HASH value 16", {"HashChanged"}},  // the first two words are not read
      {kSet + "Hash value 2", {}},                     // no change, so no action
      {kSet + "SlowDown value 3x", {"SlowDownChanged"}},
      {kSet + "Hash Value 32", {"SetEngineOption [Hash Value 32] []"}},  // only "value" counts
      {kSet + "Hash value   \t ", {}},
      {kSet, {}},
      {"setoption", {}},
      {kSet + "help", {"OpenHelp"}},
      {kSet + "Help value x", {"SetEngineOption [Help] [x]"}},
      {kSet + " Init \t String   value  x   Y  ", {"SetEngineOption [Init String] [x Y]"}},
      {kSet + "Ponder value true", {"PonderSet"}},  // even without a change
      {kSet + "Computer value false", {"ComputerSet off"}},
      {kSet + "ShowThinkingMove value true",
       {"ShowThinkingMoveChanging, stored off", "ShowThinkingMoveSet on, stored on"}},
  };
  for (const auto& [line, calls] : cases) {
    Settings settings;
    test::RecordingActions actions(settings);
    ApplySetting(line, settings, actions);
    EXPECT_EQ(actions.calls, calls) << line;
  }
}

TEST(ApplySettingTest, StringValuesAreStoredWholeWithBlanksCollapsedAndEscapesDecoded) {
  const std::string longText(400, 'x');
  const std::tuple<std::string, std::string S::*, std::string> cases[] = {
      {"Program value  C:\\E\\Foo.exe\t   -X  value 2 ", &S::program, "C:\\E\\Foo.exe -X value 2"},
      {"HashCommand value cores", &S::hashCommand, "cores %i"},  // "%i" added if missing
      {"HashCommand value memory %d", &S::hashCommand, "memory %d"},
      {"HashCommand value " + longText, &S::hashCommand, longText + " %i"},
      {"HashCommand value <empty>", &S::hashCommand, ""},
      {"HashFormula value hash/2\xe4", &S::hashFormula, "HASH/2\xe4"}  // upper case, ASCII only
  };
  for (const auto& [line, field, stored] : cases) {
    Settings settings;
    test::RecordingActions actions(settings);
    ApplySetting(kSet + line, settings, actions);
    EXPECT_EQ(settings.*field, stored) << line;
  }
}

}  // namespace
}  // namespace vantro
