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
      {kSet + "Noise value 5", {"NoiseChanged"}},
      {kSet + "SlowDown value 3x", {"SlowDownChanged"}},
      {kSet + "Hash Value 32", {"SetEngineOption [Hash Value 32] []"}},  // only "value" counts
      {kSet + "Hash", {"SetEngineOption [Hash] []"}},
      {kSet + "Hash value   \t ", {}},
      {kSet + "Threads value", {}},
      {kSet, {}},
      {"setoption", {}},
      {kSet + "help", {"OpenHelp"}},
      {kSet + "Help value x", {"SetEngineOption [Help] [x]"}},
      {kSet + " Init \t String   value  x   Y  ", {"SetEngineOption [Init String] [x Y]"}},
      {kSet + "Threads value <empty>", {"SetEngineOption [Threads] []"}},
      {kSet + "Ponder value true", {"PonderSet"}},  // even without a change
      {kSet + "Computer value true", {"ComputerSet on"}},
      {kSet + "Computer value false", {"ComputerSet off"}},
      {kSet + "LOGFILE value on", {"LogFileSet on"}},
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
      {"Program value <empty>", &S::program, ""},
      {"InitString value new\\nforce", &S::initString, "new\nforce"},
      {"HashCommand value cores", &S::hashCommand, "cores %i"},  // "%i" added if missing
      {"HashCommand value memory %i mb", &S::hashCommand, "memory %i mb"},
      {"HashCommand value hash\\x20%i", &S::hashCommand, "hash %i"},
      {"HashCommand value " + longText, &S::hashCommand, longText + " %i"},
      {"HashCommand value <empty>", &S::hashCommand, ""},
      {"HashFormula value hash/2\xe4", &S::hashFormula, "HASH/2\xe4"}  // ASCII only,
  };
  for (const auto& [line, field, stored] : cases) {
    Settings settings;
    test::RecordingActions actions(settings);
    ApplySetting(kSet + line, settings, actions);
    EXPECT_EQ(settings.*field, stored) << line;
  }
}

// Number and flag readings have tables of their own; these check that each key
// reaches its field.
TEST(ApplySettingTest, IntegerAndFlagKeysStoreTheirReading) {
  Settings settings;
  test::RecordingActions actions(settings);
  const std::pair<std::string, std::atomic<int> S::*> ints[] = {
      {"InitTime", &S::initTime}, {"DELAY", &S::delay}, {"leveltype", &S::levelType},
      {"Protocol", &S::protocol}, {"Hash", &S::hash},   {"Noise", &S::noise},
      {"SlowDown", &S::slowDown},
  };
  for (const auto& [key, field] : ints) {
    ApplySetting(kSet + key + " value -3 ; x", settings, actions);
    EXPECT_EQ(settings.*field, -3) << key;
  }
  // clang-format off
  const std::pair<std::string, std::atomic<bool> S::*> flags[] = {
      {"Analyze", &S::analyze}, {"USEUNDO", &S::useUndo}, {"RunIdle", &S::runIdle},
      {"TerminateHard", &S::terminateHard}, {"HashOnCommandline", &S::hashOnCommandLine},
      {"WhiteScore", &S::whiteScore}, {"SimulateHint", &S::simulateHint}, {"OwnBook", &S::ownBook},
      {"Ponder", &S::ponder}, {"Computer", &S::computer}, {"ShowThinkingMove", &S::showThinkingMove}};
  // clang-format on
  for (const auto& [key, field] : flags) {
    ApplySetting(kSet + key + " value On", settings, actions);
    EXPECT_TRUE(settings.*field) << key;
    ApplySetting(kSet + key + " value off", settings, actions);
    EXPECT_FALSE(settings.*field) << key;
  }
}

// "<empty>" has no first character and takes the fallback.
TEST(ApplySettingTest, CodeKeysSelectByTheFirstCharacter) {
  struct Case {
    std::string key;
    std::atomic<int> S::*field;
    std::vector<std::string> values;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"Edit",
       &S::edit,
       {"cb-edit", "<empty>", "edit", "2", "1", "x"},
       {kEditCbEdit, kEditSetboard, kEditEdit, kEditCbEdit, kEditEdit, kEditSetboard}},
      {"Priority", &S::priority, {"Low", "<empty>", "below", "2", "1"}, {-15, 0, -1, -15, -1}},
      {"LevelExtend",
       &S::levelExtend,
       {"Strict", "<empty>", "progressive", "Failsafe", "0", "1", "2", "7"},
       {kLevelStrict, kLevelNone, kLevelProgressive, kLevelFailsafe, kLevelProgressive,
        kLevelStrict, kLevelFailsafe, kLevelNone}},
  };
  for (const Case& c : cases) {
    Settings settings;
    test::RecordingActions actions(settings);
    std::vector<int> codes;
    for (const std::string& value : c.values) {
      ApplySetting(kSet + c.key + " value " + value, settings, actions);
      codes.push_back(settings.*c.field);
    }
    EXPECT_EQ(codes, c.codes) << c.key;
  }
}

}  // namespace
}  // namespace vantro
