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
    "option name MoveNow type string default ?",
    "option name Hash type spin default 2 min 0 max 256",
    "option name HashCommand type string default <empty>",
    "option name HashFormula type string default <empty>",
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
    "option name MoveTime type combo default st var st var level var clock",
    "option name Protocol type spin default 2 min 1 max 2",
    "option name Noise type spin default 0 min -1 max 99",
    "option name Help type button",
};

// Current values, engine options and Visible lists are shown in the end-to-end runs.
TEST(OptionLinesTest, DefaultsGiveTheTwentyEightAdapterLinesInOrder) {
  Settings settings;
  EXPECT_EQ(OptionLines(settings, {}, false), kDefaultLines);
}

}  // namespace
}  // namespace vantro
