#include "search/time_control.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/settings.h"

namespace vantro {

namespace {

using Action = TimeControlDecision::Action;

constexpr LevelMemory kAfterEngineStart{0, 5, 0};

// One go as the search state machine sees it; the engine's clock is the go
// line's clock of the side to move, as the caller takes it.
struct Go {
  const char* line;
  int newCount = 0, oldCount = 0, remainingMs = 0;
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
    const TimeControlDecision d = Decide(c.go, fullReset, levelExtend);
    EXPECT_EQ(SentCommand(d, 1), c.level) << c.go.line << " after " << c.go.newCount;
    EXPECT_TRUE(d.memory == c.after) << c.go.line << " after " << c.go.newCount;
  }
}

TEST(DecideTimeControl, SendsTheClockAsWholeMinutesOrSecondsWhenSetUpOrChanged) {
  const Case cases[] = {
      {{"go wtime 300000 winc 2000", 20}, "level 0 4 2", {0, 4, 2}},  // 10 increments earned
      {{"go wtime 57000"}, "level 0 1 0", {0, 1, 0}},                 // within 3 s of a minute
      // Black's clock and increment; 31 half-moves are 15 moves played.
      {{"go btime 120000 binc 3000 movestogo 10", 31, 0, 0, false}, "level 25 1 3", {25, 1, 3}},
      {{"go wtime 300000", 0, 0, 0, true, {0, 5, 10}}, "level 0 4 0", {0, 4, 0}},  // owed increment
      {{"go wtime -5000 btime -5000"}, "level 0 1440 0", {0, 5, 0}},  // no clock: a day
      // Negative numerators give 0, not a quotient truncated towards zero from below.
      {{"go wtime 1000 winc 5000", 40}, "level 0 0:01 5", {0, 0, 5}},
      {{"go wtime 100"}, "level 0 0:01 0", {0, 0, 0}},  // no time at all: 1 s
  };
  ExpectAll(cases, true, kLevelProgressive);
  // A later go resends only when the engine's clock lags by more than 20 s.
  const Case later[] = {
      {{"go wtime 110000", 3, 2, 90000}, "", {0, 5, 0}},
      {{"go wtime 110000", 3, 2, 89999}, "level 0 0:20 0", {0, 0, 0}},
      {{"go wtime 300000", 3, 2, 60000}, "level 0 4 0", {0, 4, 0}},
  };
  ExpectAll(later, false, kLevelProgressive);
  // Strict counts moves from the game start off the control boundary.
  const Case strict[] = {
      {{"go wtime 120000 movestogo 10", 31, 30}, "level 25 2 0", {25, 2, 0}},
      {{"go wtime 300000 movestogo 2147483647", 10}, "level 2147483647 5 0", {INT_MAX, 5, 0}},
  };
  ExpectAll(strict, false, kLevelStrict);
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
  EXPECT_EQ(SentCommand(Decide(changed, true, kLevelFailsafe), 1), "level 0 5 0");
}

TEST(LevelCommand, WritesLevelOrSetlevel) {
  EXPECT_EQ(LevelCommand(1, 0, 59, 0), "level 0 0:59 0");
  EXPECT_EQ(LevelCommand(2, 25, 120, 0), "setlevel 1 25 120 25 120");
  EXPECT_EQ(LevelCommand(2, 0, 240, 2), "setlevel 5 240 2");
}

TEST(MoveTimeCommand, RoundsUpToWholeSecondsAndNeverToNoLimit) {
  for (auto [movetime, command] :
       {std::pair{1000, "st 1"}, {1001, "st 2"}, {300, "st 1"}, {0, ""}, {INT_MAX, "st 2147484"}}) {
    EXPECT_EQ(MoveTimeCommand(movetime), command) << movetime;
  }
}

}  // namespace
}  // namespace vantro
