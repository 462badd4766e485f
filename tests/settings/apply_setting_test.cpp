#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "tests/settings/recording_actions.h"

namespace vantro {
namespace {

using Calls = std::vector<std::string>;

class ApplySettingTest : public ::testing::Test {
 protected:
  void Apply(const std::string& line) { ApplySetting(line, settings, actions); }

  Settings settings;
  test::RecordingActions actions;
};

TEST_F(ApplySettingTest, StoresHashWhateverTheCaseOfTheKey) {
  Apply("setoption name Hash value 32");
  EXPECT_EQ(settings.hash, 32);
  Apply("setoption name hash value 64");
  EXPECT_EQ(settings.hash, 64);
  EXPECT_EQ(actions.calls, (Calls{"HashChanged", "HashChanged"}));
}

TEST_F(ApplySettingTest, OnlyTheLowerCaseWordValueStartsTheValue) {
  Apply("setoption name Hash Value 32");
  EXPECT_EQ(settings.hash, 2);
  EXPECT_EQ(actions.calls, (Calls{"SetEngineOption [Hash Value 32] []"}));
}

TEST_F(ApplySettingTest, IgnoresTheFirstTwoWordsAndLinesWithoutAName) {
  Apply("anything at HASH value 16");
  EXPECT_EQ(settings.hash, 16);
  Apply("setoption name");
  Apply("setoption");
  Apply("   ");
  EXPECT_EQ(actions.calls, (Calls{"HashChanged"}));
}

TEST_F(ApplySettingTest, BuiltInKeyWithoutValueGoesToTheEngineOptionsAndChangesNothing) {
  Apply("setoption name Hash");
  EXPECT_EQ(settings.hash, 2);
  EXPECT_EQ(actions.calls, (Calls{"SetEngineOption [Hash] []"}));
}

TEST_F(ApplySettingTest, EmptyValueChangesNothingAndCallsNothing) {
  Apply("setoption name Hash value");
  Apply("setoption name Hash value   \t ");
  Apply("setoption name Threads value");
  EXPECT_EQ(settings.hash, 2);
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(ApplySettingTest, HelpWithoutValueOpensTheHelpPageAndWithValueIsAnEngineOption) {
  Apply("setoption name Help");
  Apply("setoption name help");
  Apply("setoption name Help value x");
  EXPECT_EQ(actions.calls, (Calls{"OpenHelp", "OpenHelp", "SetEngineOption [Help] [x]"}));
}

TEST_F(ApplySettingTest, UnknownNamesKeepTheirCaseAndSingleBlanks) {
  Apply("setoption name  Init \t String   value  x   Y  ");
  Apply("setoption name Threads value <empty>");
  EXPECT_EQ(actions.calls,
            (Calls{"SetEngineOption [Init String] [x Y]", "SetEngineOption [Threads] []"}));
}

TEST_F(ApplySettingTest, CollapsesBlanksInsideTheValueAndKeepsItsCase) {
  Apply("setoption name Program value  C:\\Engines\\Foo.exe\t   -X  value 2 ");
  EXPECT_EQ(settings.program, "C:\\Engines\\Foo.exe -X value 2");
}

TEST_F(ApplySettingTest, EmptyMarkerStoresTheEmptyString) {
  Apply("setoption name Program value foo");
  Apply("setoption name Program value <empty>");
  EXPECT_EQ(settings.program, "");
  Apply("setoption name InitString value <empty>");
  EXPECT_EQ(settings.initString, "");
}

TEST_F(ApplySettingTest, InitStringDecodesEscapes) {
  Apply("setoption name InitString value new\\nforce");
  EXPECT_EQ(settings.initString, "new\nforce");
}

TEST_F(ApplySettingTest, LongInitStringAndHashCommandAreStoredWhole) {
  const std::string longValue(400, 'x');
  Apply("setoption name InitString value " + longValue);
  EXPECT_EQ(settings.initString, longValue);
  Apply("setoption name HashCommand value " + longValue);
  EXPECT_EQ(settings.hashCommand, longValue + " %i");
}

TEST_F(ApplySettingTest, HashCommandGetsItsConversionAppendedOnlyWhenMissing) {
  Apply("setoption name HashCommand value cores");
  EXPECT_EQ(settings.hashCommand, "cores %i");
  Apply("setoption name HashCommand value memory %i mb");
  EXPECT_EQ(settings.hashCommand, "memory %i mb");
  Apply("setoption name HashCommand value hash\\x20%i");
  EXPECT_EQ(settings.hashCommand, "hash %i");
  Apply("setoption name HashCommand value <empty>");
  EXPECT_EQ(settings.hashCommand, "");
}

TEST_F(ApplySettingTest, HashFormulaIsStoredUpperCased) {
  Apply("setoption name HashFormula value hash/2");
  EXPECT_EQ(settings.hashFormula, "HASH/2");
}

TEST_F(ApplySettingTest, IntegerKeysReadTheLeadingNumber) {
  struct Case {
    std::string key;
    std::atomic<int> Settings::*field;
  };
  const Case cases[] = {{"InitTime", &Settings::initTime},   {"DELAY", &Settings::delay},
                        {"leveltype", &Settings::levelType}, {"Protocol", &Settings::protocol},
                        {"Hash", &Settings::hash},           {"Noise", &Settings::noise},
                        {"SlowDown", &Settings::slowDown}};
  const std::pair<std::string, int> values[] = {
      {"17", 17}, {"-3 ; note", -3}, {"abc", 0}, {"+8x", 8}};
  for (const Case& c : cases) {
    for (const auto& [value, expected] : values) {
      Apply("setoption name " + c.key + " value " + value);
      EXPECT_EQ(settings.*c.field, expected) << c.key << " " << value;
    }
  }
}

TEST_F(ApplySettingTest, HashNoiseAndSlowDownActOnlyOnARealChange) {
  Apply("setoption name Noise value 5");
  Apply("setoption name Noise value 5");
  Apply("setoption name Noise value -1");
  Apply("setoption name Hash value 2");
  Apply("setoption name SlowDown value 1");
  Apply("setoption name SlowDown value 3");
  Apply("setoption name SlowDown value 3x");
  EXPECT_EQ(settings.noise, -1);
  EXPECT_EQ(settings.slowDown, 3);
  EXPECT_EQ(actions.calls, (Calls{"NoiseChanged", "NoiseChanged", "SlowDownChanged"}));
}

struct CodeCase {
  std::string key;
  std::string value;
  int expected;
};

TEST_F(ApplySettingTest, CodeKeysSelectByTheFirstCharacter) {
  const CodeCase cases[] = {
      {"Edit", "cb-edit", kEditCbEdit},
      {"Edit", "Setboard", kEditSetboard},
      {"Edit", "1", kEditEdit},
      {"Edit", "edit", kEditEdit},
      {"Edit", "2", kEditCbEdit},
      {"Edit", "x", kEditSetboard},
      {"Priority", "Low", -15},
      {"Priority", "BelowNormal", -1},
      {"Priority", "Normal", 0},
      {"Priority", "2", -15},
      {"Priority", "below", -1},
      {"Priority", "1", -1},
      {"LevelExtend", "Failsafe", kLevelFailsafe},
      {"LevelExtend", "None", kLevelNone},
      {"LevelExtend", "7", kLevelNone},
      {"LevelExtend", "progressive", kLevelProgressive},
      {"LevelExtend", "0", kLevelProgressive},
      {"LevelExtend", "Strict", kLevelStrict},
      {"LevelExtend", "1", kLevelStrict},
      {"LevelExtend", "2", kLevelFailsafe},
  };
  for (const CodeCase& c : cases) {
    Apply("setoption name " + c.key + " value " + c.value);
    const int stored = c.key == "Edit"       ? settings.edit.load()
                       : c.key == "Priority" ? settings.priority.load()
                                             : settings.levelExtend.load();
    EXPECT_EQ(stored, c.expected) << c.key << " " << c.value;
  }
}

TEST_F(ApplySettingTest, CodeKeysWithTheEmptyMarkerTakeTheFallbackBranch) {
  settings.edit = kEditCbEdit;
  settings.priority = -15;
  settings.levelExtend = kLevelStrict;
  Apply("setoption name Edit value <empty>");
  Apply("setoption name Priority value <empty>");
  Apply("setoption name LevelExtend value <empty>");
  EXPECT_EQ(settings.edit, kEditSetboard);
  EXPECT_EQ(settings.priority, 0);
  EXPECT_EQ(settings.levelExtend, kLevelNone);
}

TEST_F(ApplySettingTest, FlagKeysStoreTheBooleanReading) {
  const std::pair<std::string, std::atomic<bool> Settings::*> flags[] = {
      {"Analyze", &Settings::analyze},
      {"USEUNDO", &Settings::useUndo},
      {"RunIdle", &Settings::runIdle},
      {"TerminateHard", &Settings::terminateHard},
      {"HashOnCommandline", &Settings::hashOnCommandLine},
      {"WhiteScore", &Settings::whiteScore},
      {"SimulateHint", &Settings::simulateHint},
      {"OwnBook", &Settings::ownBook},
      {"Ponder", &Settings::ponder},
      {"Computer", &Settings::computer},
      {"ShowThinkingMove", &Settings::showThinkingMove},
  };
  const std::pair<std::string, bool> values[] = {{"1", true},    {"false", false}, {"On", true},
                                                 {"yes", false}, {"true", true},   {"0", false}};
  for (const auto& [key, field] : flags) {
    for (const auto& [value, expected] : values) {
      Apply("setoption name " + key + " value " + value);
      EXPECT_EQ(settings.*field, expected) << key << " " << value;
    }
  }
}

TEST_F(ApplySettingTest, PonderActsOnEverySettingEvenWithoutChange) {
  Apply("setoption name Ponder value true");
  Apply("setoption name Ponder value true");
  EXPECT_EQ(actions.calls, (Calls{"PonderSet", "PonderSet"}));
}

TEST_F(ApplySettingTest, ComputerPassesTheNewValue) {
  Apply("setoption name Computer value true");
  Apply("setoption name Computer value false");
  EXPECT_EQ(actions.calls, (Calls{"ComputerSet on", "ComputerSet off"}));
}

// The status timer must be stopped before the flag changes and restarted
// after, so that a running poll never sees a half-applied setting.
class ShowThinkingMoveRecorder : public test::RecordingActions {
 public:
  explicit ShowThinkingMoveRecorder(const Settings& settings) : settings_(settings) {}
  void ShowThinkingMoveChanging() override {
    calls.push_back(settings_.showThinkingMove ? "Changing from on" : "Changing from off");
  }
  void ShowThinkingMoveSet(bool on) override {
    calls.push_back(std::string(on ? "Set on" : "Set off") +
                    (settings_.showThinkingMove ? " stored on" : " stored off"));
  }

 private:
  const Settings& settings_;
};

TEST(ApplySettingShowThinkingMoveTest, StopsBeforeStoringAndRestartsAfter) {
  Settings settings;
  ShowThinkingMoveRecorder actions(settings);
  ApplySetting("setoption name ShowThinkingMove value true", settings, actions);
  ApplySetting("setoption name ShowThinkingMove value off", settings, actions);
  EXPECT_EQ(actions.calls, (Calls{"Changing from off", "Set on stored on", "Changing from on",
                                  "Set off stored off"}));
}

TEST_F(ApplySettingTest, LogfileSwitchesTheLogWithoutStoringASetting) {
  Apply("setoption name Logfile value true");
  Apply("setoption name LOGFILE value off");
  EXPECT_EQ(actions.calls, (Calls{"LogFileSet on", "LogFileSet off"}));
}

}  // namespace
}  // namespace vantro
