#include "search/time_control.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "settings/settings.h"

namespace vantro {

void PrintTo(const LevelMemory& m, std::ostream* os) {
  *os << "{moves " << m.moves << ", minutes " << m.minutes << ", increment " << m.increment << "}";
}

namespace {

using Action = TimeControlDecision::Action;

constexpr LevelMemory kAfterEngineStart{0, 5, 0};

// One go as the search state machine sees it. The engine's clock is taken
// from the go line for the side to move, as the caller does.
struct Go {
  const char* line;
  int newCount = 0;
  int oldCount = 0;
  bool fullReset = true;
  bool whiteToMove = true;
  int remainingMs = 0;
  int levelExtend = kLevelProgressive;
  LevelMemory memory = kAfterEngineStart;
};

struct Case {
  const char* behaviour;
  Go go;
  const char* level;  // the command sent with LevelType 1, "" when nothing is sent
  LevelMemory after;
};

TimeControlDecision Decide(const Go& go) {
  TimeControlInput input;
  input.go = ParseGo(go.line);
  input.newCount = go.newCount;
  input.oldCount = go.oldCount;
  input.fullReset = go.fullReset;
  input.whiteToMove = go.whiteToMove;
  input.engineTime = go.whiteToMove ? input.go.wtime : input.go.btime;
  input.remainingMs = go.remainingMs;
  input.levelExtend = go.levelExtend;
  return DecideTimeControl(input, go.memory);
}

std::string SentCommand(const TimeControlDecision& d, int levelType) {
  if (d.action != Action::kSendLevel) return "";
  return LevelCommand(levelType, d.moves, d.baseSeconds, d.incrementSeconds);
}

template <std::size_t N>
void ExpectAll(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    TimeControlDecision d = Decide(c.go);
    EXPECT_NE(d.action, Action::kRestartGame);
    EXPECT_EQ(SentCommand(d, 1), c.level);
    EXPECT_EQ(d.memory, c.after);
  }
}

TEST(DecideTimeControl, FullSetUpTranslatesTheClocks) {
  const Case cases[] = {
      {"first go of a game", {"go wtime 300000 btime 300000"}, "level 0 5 0", {0, 5, 0}},
      {"earned increments come off the minutes",
       {"go wtime 300000 btime 300000 winc 2000 binc 2000", 20},
       "level 0 4 2",
       {0, 4, 2}},
      {"under a minute the seconds are sent",
       {"go wtime 45000 btime 45000"},
       "level 0 0:45 0",
       {0, 0, 0}},
      {"moves to go count the moves still to send",
       {"go wtime 120000 btime 120000 movestogo 10", 30},
       "level 25 2 0",
       {25, 2, 0}},
      {"odd move difference truncates",
       {"go wtime 120000 btime 120000 movestogo 10", 31, 0, true, false},
       "level 25 2 0",
       {25, 2, 0}},
      {"black's clock and increment when black is to move",
       {"go wtime 60000 btime 120000 winc 1000 binc 3000", 1, 0, true, false},
       "level 0 2 3",
       {0, 2, 3}},
      {"minutes round up within three seconds",
       {"go wtime 57000 btime 57000"},
       "level 0 1 0",
       {0, 1, 0}},
      {"the last sent increment comes off the clock",
       {"go wtime 300000 btime 300000", 0, 0, true, true, 0, kLevelProgressive, {0, 5, 10}},
       "level 0 4 0",
       {0, 4, 0}},
      {"no clock gives a day", {"go depth 6"}, "level 0 1440 0", {0, 5, 0}},
      {"a negative clock gives a day", {"go wtime -5000 btime -5000"}, "level 0 1440 0", {0, 5, 0}},
      {"remaining time is ignored after a full set-up",
       {"go wtime 300000 btime 300000", 0, 0, true, true, 200000},
       "level 0 5 0",
       {0, 5, 0}},
      {"memory keeps the smaller minutes",
       {"go wtime 600000 btime 600000", 0, 0, true, true, 0, kLevelProgressive, {0, 5, 0}},
       "level 0 10 0",
       {0, 5, 0}},
  };
  ExpectAll(cases);
}

TEST(DecideTimeControl, IncrementRoundsToTheNearestSecond) {
  const Case cases[] = {
      {"1499 ms", {"go wtime 300000 winc 1499"}, "level 0 5 1", {0, 5, 1}},
      {"1500 ms", {"go wtime 300000 winc 1500"}, "level 0 5 2", {0, 5, 2}},
      {"499 ms", {"go wtime 300000 winc 499"}, "level 0 5 0", {0, 5, 0}},
      {"0 ms", {"go wtime 300000 winc 0"}, "level 0 5 0", {0, 5, 0}},
      {"negative", {"go wtime 300000 winc -3000"}, "level 0 5 0", {0, 5, 0}},
      {"the other side's increment is ignored",
       {"go wtime 300000 binc 5000"},
       "level 0 5 0",
       {0, 5, 0}},
  };
  ExpectAll(cases);
}

TEST(DecideTimeControl, NegativeNumeratorsGiveZeroNotANegativeQuotient) {
  const Case cases[] = {
      // (1000 - 100000 + 3000) / 60000 would truncate to -1.
      {"earned beyond the clock",
       {"go wtime 1000 btime 1000 winc 5000 binc 5000", 40},
       "level 0 0:01 5",
       {0, 0, 5}},
      // (2000 - 10000 + 500) / 1000 would truncate to -7.
      {"last increment beyond the clock",
       {"go wtime 2000 winc 1000", 0, 0, true, true, 0, kLevelProgressive, {0, 5, 10}},
       "level 0 0:00 1",
       {0, 0, 1}},
      // The seconds are computed without the earned time.
      {"seconds ignore earned time",
       {"go wtime 100000 btime 100000 winc 5000 binc 5000", 20},
       "level 0 1 5",
       {0, 0, 5}},
  };
  ExpectAll(cases);
}

TEST(DecideTimeControl, ControlOfNoTimeBecomesOneSecond) {
  const Case cases[] = {
      {"100 ms left", {"go wtime 100 btime 100"}, "level 0 0:01 0", {0, 0, 0}},
      {"empty clock", {"go wtime 0 btime 0"}, "level 0 0:01 0", {0, 0, 0}},
      {"an increment alone is a control", {"go wtime 0 winc 1000"}, "level 0 0:00 1", {0, 0, 1}},
  };
  ExpectAll(cases);

  TimeControlDecision d = Decide({"go wtime 100 btime 100"});
  EXPECT_EQ(SentCommand(d, 2), "setlevel 5 1 0");

  // The memory of the mended control matches what the next go computes, so it is not resent.
  Go next{"go wtime 25000 btime 25000", 2, 1, false, true, 1000, kLevelProgressive, d.memory};
  EXPECT_EQ(Decide(next).action, Action::kNothing);
}

TEST(DecideTimeControl, IncrementalGoResendsOnlyOutsideTheWindow) {
  const Case cases[] = {
      {"None never resends",
       {"go wtime 1000 btime 1000", 3, 2, false, true, 100000, kLevelNone},
       "",
       {0, 5, 0}},
      {"within 20 s", {"go wtime 110000", 3, 2, false, true, 100000}, "", {0, 5, 0}},
      {"exactly 20 s", {"go wtime 110000", 3, 2, false, true, 90000}, "", {0, 5, 0}},
      {"one ms beyond 20 s",
       {"go wtime 110000", 3, 2, false, true, 89999},
       "level 0 0:20 0",
       {0, 0, 0}},
      {"the last increment widens the window",
       {"go wtime 110000", 3, 2, false, true, 80000, kLevelProgressive, {0, 5, 10}},
       "",
       {0, 5, 10}},
      {"without a clock nothing is resent", {"go depth 5", 3, 2, false, true, 0}, "", {0, 5, 0}},
      {"remaining time comes off the minutes",
       {"go wtime 300000", 3, 2, false, true, 60000},
       "level 0 4 0",
       {0, 4, 0}},
      {"an unchanged control is not resent",
       {"go wtime 300000", 3, 2, false, true, 60000, kLevelProgressive, {0, 4, 0}},
       "",
       {0, 4, 0}},
      {"no earned time on an incremental go",
       {"go wtime 300000 winc 2000", 41, 40, false, true, 60000},
       "level 0 4 2",
       {0, 4, 2}},
      {"minutes in memory only go down",
       {"go wtime 300000", 3, 2, false, true, 0, kLevelProgressive, {0, 2, 0}},
       "level 0 5 0",
       {0, 2, 0}},
  };
  ExpectAll(cases);
}

TEST(DecideTimeControl, StrictRecomputesMovesFromTheGameLength) {
  const Case cases[] = {
      {"progressive counts from the new moves",
       {"go wtime 120000 movestogo 10", 31, 30, false, true, 0, kLevelProgressive},
       "level 10 2 0",
       {10, 2, 0}},
      {"strict off the control boundary",
       {"go wtime 120000 movestogo 10", 31, 30, false, true, 0, kLevelStrict},
       "level 25 2 0",
       {25, 2, 0}},
      {"strict on the control boundary",
       {"go wtime 120000 movestogo 10", 41, 40, false, true, 0, kLevelStrict},
       "level 10 2 0",
       {10, 2, 0}},
      {"strict with no moves to go does not divide",
       {"go wtime 300000 movestogo 0", 0, 0, true, true, 0, kLevelStrict},
       "level 0 5 0",
       {0, 5, 0}},
  };
  ExpectAll(cases);
}

TEST(DecideTimeControl, FailsafeRestartsTheGameInsteadOfResending) {
  Go changed{"go wtime 300000", 3, 2, false, true, 60000, kLevelFailsafe};
  TimeControlDecision d = Decide(changed);
  EXPECT_EQ(d.action, Action::kRestartGame);
  EXPECT_EQ(d.memory, kAfterEngineStart);

  Go unchanged = changed;
  unchanged.memory = {0, 4, 0};
  EXPECT_EQ(Decide(unchanged).action, Action::kNothing);

  Go fullSetUp{"go wtime 300000", 0, 0, true, true, 0, kLevelFailsafe};
  EXPECT_EQ(SentCommand(Decide(fullSetUp), 1), "level 0 5 0");
}

TEST(DecideTimeControl, ExtremeClocksDoNotOverflow) {
  const Case cases[] = {
      {"largest clock", {"go wtime 2147483647"}, "level 0 35791 0", {0, 5, 0}},
      {"largest increment",
       {"go wtime 2147483647 winc 2147483647", 1000},
       "level 0 35791 2147484",
       {0, 0, 2147484}},
      {"largest moves to go",
       {"go wtime 300000 movestogo 2147483647", 10, 0, true, true, 0, kLevelStrict},
       "level 2147483647 5 0",
       {2147483647, 5, 0}},
      {"smallest clock on an incremental go",
       {"go wtime -2147483648", 3, 2, false, true, 0},
       "",
       {0, 5, 0}},
      {"largest last increment on an incremental go",
       {"go wtime 2147483647", 3, 2, false, true, 0, kLevelProgressive, {0, 5, INT_MAX}},
       "",
       {0, 5, INT_MAX}},
      {"largest last increment on a full set-up",
       {"go wtime 2147483647", 0, 0, true, true, 0, kLevelProgressive, {0, 5, INT_MAX}},
       "level 0 0:01 0",
       {0, 0, 0}},
  };
  ExpectAll(cases);
}

TEST(LevelCommand, WritesLevelOrSetlevel) {
  struct Row {
    int levelType, moves, base, increment;
    const char* command;
  };
  const Row rows[] = {
      {1, 0, 300, 0, "level 0 5 0"},
      {1, 0, 240, 2, "level 0 4 2"},
      {1, 0, 45, 0, "level 0 0:45 0"},
      {1, 0, 5, 0, "level 0 0:05 0"},
      {1, 0, 59, 0, "level 0 0:59 0"},
      {1, 0, 119, 3, "level 0 1 3"},
      {1, 25, 120, 0, "level 25 2 0"},
      {1, 1, 86400, 0, "level 1 1440 0"},
      {0, 0, 300, 0, "level 0 5 0"},
      {2, 25, 120, 0, "setlevel 1 25 120 25 120"},
      {2, 1, 86400, 0, "setlevel 0 99"},
      {2, 0, 86400, 5, "setlevel 0 99"},
      {2, 0, 240, 2, "setlevel 5 240 2"},
      {2, INT_MIN, INT_MIN, 0, "setlevel 1 -2147483648 -2147483648 -2147483648 -2147483648"},
      {1, INT_MAX, INT_MAX, INT_MAX, "level 2147483647 35791394 2147483647"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(LevelCommand(r.levelType, r.moves, r.base, r.increment), r.command);
  }
}

TEST(LevelCommand, NoClockWithSetlevelIsTheDepthCommand) {
  TimeControlDecision d = Decide({"go depth 6"});
  EXPECT_EQ(SentCommand(d, 2), "setlevel 0 99");
  EXPECT_EQ(SentCommand(Decide({"go wtime 120000 movestogo 10", 30}), 2),
            "setlevel 1 25 120 25 120");
}

TEST(DepthCommand, WritesSdOrSetlevelZero) {
  EXPECT_EQ(DepthCommand(1, 6), "sd 6");
  EXPECT_EQ(DepthCommand(0, 99), "sd 99");
  EXPECT_EQ(DepthCommand(2, 6), "setlevel 0 6");
}

TEST(MoveTimeCommand, RoundsToTheNearestSecondAndNeverToNoLimit) {
  struct Row {
    int movetime;
    const char* command;
  };
  const Row rows[] = {
      {5000, "st 5"},
      {1499, "st 1"},
      {1500, "st 2"},
      {300, "st 1"},
      {1, "st 1"},
      {0, ""},
      {-1, ""},
      {INT_MIN, ""},
      {499, "st 1"},
      {2500, "st 3"},
      {INT_MAX, "st 2147484"},
  };
  for (const Row& r : rows) EXPECT_EQ(MoveTimeCommand(r.movetime), r.command) << r.movetime;
}

}  // namespace
}  // namespace vantro
