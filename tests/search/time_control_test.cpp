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

// One go as the search state machine sees it; the engine's clock is the go
// line's clock of the side to move, as the caller takes it.
struct Go {
  const char* line;
  int newCount = 0;
  int oldCount = 0;
  int remainingMs = 0;
  bool whiteToMove = true;
  LevelMemory memory = kAfterEngineStart;
};

struct Case {
  Go go;
  const char* level;  // the command sent with LevelType 1, "" when nothing is sent
  LevelMemory after;
};

TimeControlDecision Decide(const Go& go, bool fullReset, int levelExtend) {
  const GoRequest request = ParseGo(go.line);
  const int engineTime = go.whiteToMove ? request.wtime : request.btime;
  return DecideTimeControl({request, go.newCount, go.oldCount, fullReset, go.whiteToMove,
                            engineTime, go.remainingMs, levelExtend},
                           go.memory);
}

std::string SentCommand(const TimeControlDecision& d, int levelType) {
  if (d.action != Action::kSendLevel) return "";
  return LevelCommand(levelType, d.moves, d.baseSeconds, d.incrementSeconds);
}

template <std::size_t N>
void ExpectAll(const Case (&cases)[N], bool fullReset, int levelExtend) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.go.line << " after " << c.go.newCount << " moves");
    const TimeControlDecision d = Decide(c.go, fullReset, levelExtend);
    EXPECT_EQ(SentCommand(d, 1), c.level);
    EXPECT_EQ(d.memory, c.after);
  }
}

TEST(DecideTimeControl, FullSetUpSendsTheClockAsWholeMinutesOrSeconds) {
  const Case cases[] = {
      {{"go wtime 300000 winc 2000", 20}, "level 0 4 2", {0, 4, 2}},  // 10 increments earned
      {{"go wtime 45000"}, "level 0 0:45 0", {0, 0, 0}},
      {{"go wtime 57000"}, "level 0 1 0", {0, 1, 0}},  // within 3 s of a minute
      // Black's clock and increment; 31 half-moves are 15 moves played.
      {{"go btime 120000 winc 1000 binc 3000 movestogo 10", 31, 0, 0, false},
       "level 25 1 3",
       {25, 1, 3}},
      {{"go wtime 300000 winc 1499"}, "level 0 5 1", {0, 5, 1}},
      {{"go wtime 300000 winc 1500"}, "level 0 5 2", {0, 5, 2}},
      {{"go wtime 300000 winc -3000"}, "level 0 5 0", {0, 5, 0}},
      {{"go wtime 300000", 0, 0, 0, true, {0, 5, 10}}, "level 0 4 0", {0, 4, 0}},  // owed increment
      {{"go wtime -5000 btime -5000"}, "level 0 1440 0", {0, 5, 0}},  // no clock: a day
      {{"go wtime 300000", 0, 0, 200000}, "level 0 5 0", {0, 5, 0}},  // the stopwatch was reset
      {{"go wtime 600000"}, "level 0 10 0", {0, 5, 0}},  // memory keeps the smaller minutes
      // Negative numerators give 0, not a quotient truncated towards zero from below.
      {{"go wtime 1000 winc 5000", 40}, "level 0 0:01 5", {0, 0, 5}},
      {{"go wtime 2000 winc 1000", 0, 0, 0, true, {0, 5, 10}}, "level 0 0:00 1", {0, 0, 1}},
      {{"go wtime 100000 winc 5000", 20}, "level 0 1 5", {0, 0, 5}},  // seconds ignore earned
      // No time at all becomes 1 s; an increment alone is a control.
      {{"go wtime 100"}, "level 0 0:01 0", {0, 0, 0}},
      {{"go wtime 0 winc 1000"}, "level 0 0:00 1", {0, 0, 1}},
      {{"go wtime 2147483647"}, "level 0 35791 0", {0, 5, 0}},
      {{"go wtime 2147483647 winc 2147483647", 1000}, "level 0 35791 2147484", {0, 0, 2147484}},
      {{"go wtime 2147483647", 0, 0, 0, true, {0, 5, INT_MAX}}, "level 0 0:01 0", {0, 0, 0}},
  };
  ExpectAll(cases, true, kLevelProgressive);
}

TEST(DecideTimeControl, IncrementalGoResendsOnlyWhenTheEngineClockLagsByMoreThanTwentySeconds) {
  const Case cases[] = {
      {{"go wtime 110000", 3, 2, 90000}, "", {0, 5, 0}},
      {{"go wtime 110000", 3, 2, 89999}, "level 0 0:20 0", {0, 0, 0}},
      {{"go wtime 110000", 3, 2, 80000, true, {0, 5, 10}}, "", {0, 5, 10}},  // owed increment
      {{"go depth 5", 3, 2}, "", {0, 5, 0}},
      {{"go wtime 300000", 3, 2, 60000}, "level 0 4 0", {0, 4, 0}},
      {{"go wtime 300000", 3, 2, 60000, true, {0, 4, 0}}, "", {0, 4, 0}},        // unchanged
      {{"go wtime 300000 winc 2000", 41, 40, 60000}, "level 0 4 2", {0, 4, 2}},  // none earned
      {{"go wtime 120000 movestogo 10", 31, 30}, "level 10 2 0", {10, 2, 0}},
      {{"go wtime -2147483648", 3, 2}, "", {0, 5, 0}},
      {{"go wtime 2147483647", 3, 2, 0, true, {0, 5, INT_MAX}}, "", {0, 5, INT_MAX}},
  };
  ExpectAll(cases, false, kLevelProgressive);
}

TEST(DecideTimeControl, StrictCountsMovesFromTheGameStartOffTheControlBoundary) {
  const Case cases[] = {
      {{"go wtime 120000 movestogo 10", 31, 30}, "level 25 2 0", {25, 2, 0}},
      {{"go wtime 120000 movestogo 10", 41, 40}, "level 10 2 0", {10, 2, 0}},
      {{"go wtime 300000 movestogo 0", 3, 2, 0, true, {0, 4, 0}}, "level 0 5 0", {0, 4, 0}},
      {{"go wtime 300000 movestogo 2147483647", 10}, "level 2147483647 5 0", {INT_MAX, 5, 0}},
  };
  ExpectAll(cases, false, kLevelStrict);
}

TEST(DecideTimeControl, MendedZeroControlIsNotResentByTheNextGo) {
  const TimeControlDecision first = Decide({"go wtime 100 btime 100"}, true, kLevelProgressive);
  const Go next{"go wtime 25000 btime 25000", 2, 1, 1000, true, first.memory};
  EXPECT_EQ(Decide(next, false, kLevelProgressive).action, Action::kNothing);
}

TEST(DecideTimeControl, NoneNeverResendsAndFailsafeRestartsTheGameInstead) {
  const Go changed{"go wtime 300000", 3, 2, 60000};
  EXPECT_EQ(Decide(changed, false, kLevelNone).action, Action::kNothing);
  const TimeControlDecision restart = Decide(changed, false, kLevelFailsafe);
  EXPECT_EQ(restart.action, Action::kRestartGame);
  EXPECT_EQ(restart.memory, kAfterEngineStart);
  EXPECT_EQ(Decide({"go wtime 300000", 3, 2, 60000, true, {0, 4, 0}}, false, kLevelFailsafe).action,
            Action::kNothing);
  EXPECT_EQ(SentCommand(Decide(changed, true, kLevelFailsafe), 1), "level 0 5 0");
}

TEST(LevelCommand, WritesLevelOrSetlevelAndADayAsUnlimitedDepth) {
  struct Row {
    int levelType, moves, base, increment;
    const char* command;
  };
  const Row rows[] = {
      Row{1, 0, 240, 2, "level 0 4 2"},     Row{0, 25, 120, 0, "level 25 2 0"},
      Row{1, 0, 5, 0, "level 0 0:05 0"},    Row{1, 0, 59, 0, "level 0 0:59 0"},
      Row{1, 0, 119, 3, "level 0 1 3"},     Row{2, 25, 120, 0, "setlevel 1 25 120 25 120"},
      Row{2, 0, 86400, 5, "setlevel 0 99"}, Row{2, 0, 240, 2, "setlevel 5 240 2"}};
  for (const Row& r : rows) {
    EXPECT_EQ(LevelCommand(r.levelType, r.moves, r.base, r.increment), r.command);
  }
  EXPECT_EQ(LevelCommand(2, INT_MIN, INT_MIN, 0),
            "setlevel 1 -2147483648 -2147483648 -2147483648 -2147483648");
  EXPECT_EQ(LevelCommand(1, INT_MAX, INT_MAX, INT_MAX), "level 2147483647 35791394 2147483647");
  // The day a missing clock gives is exactly the one setlevel turns into depth.
  EXPECT_EQ(SentCommand(Decide({"go depth 6"}, true, kLevelProgressive), 2), "setlevel 0 99");
  EXPECT_EQ(DepthCommand(1, 6), "sd 6");
  EXPECT_EQ(DepthCommand(2, 6), "setlevel 0 6");
}

TEST(MoveTimeCommand, RoundsToTheNearestSecondAndNeverToNoLimit) {
  struct Row {
    int movetime;
    const char* command;
  };
  const Row rows[] = {{1499, "st 1"}, {1500, "st 2"}, {300, "st 1"},
                      {0, ""},        {INT_MIN, ""},  {INT_MAX, "st 2147484"}};
  for (const Row& r : rows) EXPECT_EQ(MoveTimeCommand(r.movetime), r.command) << r.movetime;
}

}  // namespace
}  // namespace vantro
