#include "uci/option_announcement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantro {
namespace {

using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

const Lines kDefaultLines = {
    "option name Program type string default <empty>",
    "option name InitString type string default <empty>",
    "option name Hash type spin default 2 min 0 max 256",
    "option name HashCommand type string default <empty>",
    "option name HashFormula type string default ",
    "option name HashOnCommandline type check default false",
    "option name InitTime type spin default 2 min 0 max 30",
    "option name Delay type spin default 0 min 0 max 1000",
    "option name LevelType type spin default 1 min 1 max 2",
    "option name SlowDown type spin default 1 min 1 max 100",
    "option name Edit type combo default setboard var setboard var edit var cb-edit",
    "option name Ponder type check default true",
    "option name OwnBook type check default false",
    "option name ShowThinkingMove type check default false",
    "option name Analyze type check default true",
    "option name UseUndo type check default true",
    "option name WhiteScore type check default false",
    "option name Logfile type check default false",
    "option name Priority type combo default Normal var Normal var BelowNormal var Low",
    "option name RunIdle type check default false",
    "option name Computer type check default false",
    "option name SimulateHint type check default false",
    "option name LevelExtend type combo default None var Progressive var Strict var Failsafe "
    "var None",
    "option name Protocol type spin default 2 min 1 max 2",
    "option name Noise type spin default 0 min -1 max 99",
    "option name Help type button",
};

TEST(OptionLinesTest, DefaultsGiveTheTwentySixAdapterLinesInOrder) {
  Settings settings;
  EXPECT_EQ(OptionLines(settings, {}, false), kDefaultLines);
}

TEST(OptionLinesTest, LinesShowTheCurrentValuesUncut) {
  Settings settings;
  settings.program = "";
  settings.initString = "new\nforce";
  settings.hashCommand = "memory %i " + std::string(300, 'm');
  settings.hashFormula = "HASH/2";
  settings.hash = -3;
  settings.ponder = false;
  Lines expected = kDefaultLines;
  expected[0] = "option name Program type string default ";
  expected[1] = "option name InitString type string default new\nforce";
  expected[2] = "option name Hash type spin default -3 min 0 max 256";
  expected[3] = "option name HashCommand type string default " + settings.hashCommand;
  expected[4] = "option name HashFormula type string default HASH/2";
  expected[11] = "option name Ponder type check default false";
  expected[17] = "option name Logfile type check default true";
  EXPECT_EQ(OptionLines(settings, {}, true), expected);
}

TEST(OptionLinesTest, CodesShowTheirItemsAndUnknownCodesTheFallback) {
  using S = Settings;
  const std::tuple<int, std::atomic<int> S::*, int, std::string> cases[] = {
      {10, &S::edit, kEditEdit, "edit"},
      {10, &S::edit, kEditCbEdit, "cb-edit"},
      {10, &S::edit, 7, "setboard"},
      {18, &S::priority, -1, "BelowNormal"},
      {18, &S::priority, -15, "Low"},
      {18, &S::priority, 2, "Normal"},
      {22, &S::levelExtend, kLevelProgressive, "Progressive"},
      {22, &S::levelExtend, kLevelStrict, "Strict"},
      {22, &S::levelExtend, kLevelFailsafe, "Failsafe"},
      {22, &S::levelExtend, -1, "None"},
  };
  for (const auto& [line, field, code, item] : cases) {
    Settings settings;
    settings.*field = code;
    EXPECT_THAT(OptionLines(settings, {}, false)[line], HasSubstr(" default " + item + " var "));
  }
}

TEST(OptionLinesTest, EngineOptionsComeFirstAndVisibleListsShowOnlyTheNamedGroups) {
  EngineOptionList options;
  for (auto [key, declaration] : {std::pair{"Threads", "cores|spin|1|1|8"},
                                  {"Mode", "mode|check|yes|0|1"},
                                  {"Name", "name|string"},
                                  {"Clear Hash", "new|button"},
                                  {"Style", "style|combo|b|a|b|c"},
                                  {"Empty", "pick|combo"}}) {
    DeclareEngineOption(options, key, declaration);
  }
  Lines lines = {
      "option name Threads type spin default 1 min 1 max 8",
      "option name Mode type check default yes",
      "option name Name type string default <empty>",
      "option name Clear Hash type button",
      "option name Style type combo default b var a var b var c",
      "option name Empty type combo default ",
  };
  Settings settings;
  Lines all = lines;
  all.insert(all.end(), kDefaultLines.begin(), kDefaultLines.end());
  EXPECT_EQ(OptionLines(settings, options, false), all);
  settings.visibilityRestricted = true;
  EXPECT_TRUE(OptionLines(settings, options, true).empty());
  settings.visibleOptions = {"hash", "extras"};  // letter case counts
  EXPECT_TRUE(OptionLines(settings, options, false).empty());
  EXPECT_TRUE(IsOptionVisible(settings, "hash"));
  settings.visibleOptions = {"Hash", "Extras"};
  lines.push_back(kDefaultLines[2]);
  EXPECT_EQ(OptionLines(settings, options, false), lines);
}

}  // namespace
}  // namespace vantro
