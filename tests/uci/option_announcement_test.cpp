#include "uci/option_announcement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantro {
namespace {

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

TEST(OptionLinesTest, LinesShowTheCurrentValues) {
  Settings settings;
  settings.priority = -15;
  settings.edit = kEditCbEdit;
  settings.levelExtend = kLevelFailsafe;
  settings.program = "";
  settings.hash = -3;
  settings.ponder = false;
  settings.hashFormula = "HASH/2";
  const Lines lines = OptionLines(settings, {}, true);
  ASSERT_EQ(lines.size(), kDefaultLines.size());
  EXPECT_EQ(lines[0], "option name Program type string default ");
  EXPECT_EQ(lines[2], "option name Hash type spin default -3 min 0 max 256");
  EXPECT_EQ(lines[4], "option name HashFormula type string default HASH/2");
  EXPECT_EQ(lines[10],
            "option name Edit type combo default cb-edit var setboard var edit var cb-edit");
  EXPECT_EQ(lines[11], "option name Ponder type check default false");
  EXPECT_EQ(lines[17], "option name Logfile type check default true");
  EXPECT_EQ(lines[18],
            "option name Priority type combo default Low var Normal var BelowNormal var Low");
  EXPECT_EQ(lines[22],
            "option name LevelExtend type combo default Failsafe var Progressive var Strict var "
            "Failsafe var None");
}

TEST(OptionLinesTest, CodesMapToTheirItemsAndUnknownCodesToTheFallback) {
  struct Case {
    int edit, priority, levelExtend;
    std::string editDefault, priorityDefault, levelDefault;
  };
  const Case cases[] = {
      {kEditEdit, -1, kLevelProgressive, "edit", "BelowNormal", "Progressive"},
      {kEditSetboard, 0, kLevelStrict, "setboard", "Normal", "Strict"},
      {7, 2, -1, "setboard", "Normal", "None"},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.edit = c.edit;
    settings.priority = c.priority;
    settings.levelExtend = c.levelExtend;
    const Lines lines = OptionLines(settings, {}, false);
    EXPECT_EQ(lines[10].rfind("option name Edit type combo default " + c.editDefault + " var", 0),
              0u)
        << lines[10];
    EXPECT_EQ(
        lines[18].rfind("option name Priority type combo default " + c.priorityDefault + " var", 0),
        0u)
        << lines[18];
    EXPECT_EQ(
        lines[22].rfind("option name LevelExtend type combo default " + c.levelDefault + " var", 0),
        0u)
        << lines[22];
  }
}

TEST(OptionLinesTest, StringValuesAppearAsStoredEvenWhenLong) {
  Settings settings;
  settings.initString = "new\nforce";
  settings.hashCommand = "memory %i";
  settings.program = std::string(300, 'p');
  const Lines lines = OptionLines(settings, {}, false);
  EXPECT_EQ(lines[0], "option name Program type string default " + std::string(300, 'p'));
  EXPECT_EQ(lines[1], "option name InitString type string default new\nforce");
  EXPECT_EQ(lines[3], "option name HashCommand type string default memory %i");
}

EngineOptionList SampleOptions() {
  EngineOptionList options;
  DeclareEngineOption(options, "Threads", "cores|spin|1|1|8");
  DeclareEngineOption(options, "Mode", "mode|check|yes|0|1");
  DeclareEngineOption(options, "Name", "name|string");
  DeclareEngineOption(options, "Clear Hash", "new|button");
  DeclareEngineOption(options, "Style", "style|combo|b|a|b|c");
  DeclareEngineOption(options, "Empty", "pick|combo");
  return options;
}

TEST(OptionLinesTest, EngineOptionsComeFirstWithTheirDeclaredTexts) {
  Settings settings;
  const Lines lines = OptionLines(settings, SampleOptions(), false);
  ASSERT_EQ(lines.size(), 6 + kDefaultLines.size());
  const Lines engineLines(lines.begin(), lines.begin() + 6);
  EXPECT_EQ(engineLines, (Lines{
                             "option name Threads type spin default 1 min 1 max 8",
                             "option name Mode type check default yes",
                             "option name Name type string default <empty>",
                             "option name Clear Hash type button",
                             "option name Style type combo default b var a var b var c",
                             "option name Empty type combo default ",
                         }));
  EXPECT_EQ(Lines(lines.begin() + 6, lines.end()), kDefaultLines);
}

TEST(OptionLinesTest, VisibleListShowsOnlyTheNamedGroups) {
  Settings settings;
  settings.visibilityRestricted = true;
  settings.visibleOptions = {"Hash", "Extras"};
  EXPECT_EQ(OptionLines(settings, SampleOptions(), false),
            (Lines{
                "option name Threads type spin default 1 min 1 max 8",
                "option name Mode type check default yes",
                "option name Name type string default <empty>",
                "option name Clear Hash type button",
                "option name Style type combo default b var a var b var c",
                "option name Empty type combo default ",
                "option name Hash type spin default 2 min 0 max 256",
            }));
}

TEST(OptionLinesTest, VisibleNamesMatchWithLetterCase) {
  Settings settings;
  settings.visibilityRestricted = true;
  settings.visibleOptions = {"hash", "extras"};
  EXPECT_TRUE(OptionLines(settings, SampleOptions(), false).empty());
  EXPECT_FALSE(IsOptionVisible(settings, "Hash"));
  EXPECT_TRUE(IsOptionVisible(settings, "hash"));
}

TEST(OptionLinesTest, RestrictionWithoutNamesShowsNothing) {
  Settings settings;
  settings.visibilityRestricted = true;
  EXPECT_TRUE(OptionLines(settings, SampleOptions(), true).empty());
}

}  // namespace
}  // namespace vantro
