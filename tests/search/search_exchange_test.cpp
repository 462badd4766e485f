// Exchanges between the GUI and an engine in memory through the search
// handlers. The typical exchange, the next single move, ponderhit and analysis
// are also driven end to end (tests/e2e/game_test.cpp).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/adapter_fixture.h"
#include "tests/settings/recording_actions.h"

namespace vantro::test {
namespace {

using ::testing::IsEmpty;

const std::string kClock = "go wtime 60000 btime 60000";

// Steps: a GUI line, "<" and an engine line, or "--" to forget what both
// sides got so far. When `thinkAfter` holds moves, the engine first starts
// thinking after them (under kClock) and the lines it got are forgotten.
struct Exchange {
  const char* name;
  const char* thinkAfter;
  std::vector<std::string> steps;
  std::vector<std::string> gui;     // every line the GUI got after the last "--"
  std::vector<std::string> engine;  // every line the engine got after the last "--"
};

std::ostream& operator<<(std::ostream& out, const Exchange& e) {
  return out << e.name;
}

const Exchange kExchanges[] = {
    // Thinking output.
    {"RealEngineShapesAllGiveCleanPvs",
     "e2e4",
     {"<10 -44 42 166450  e7-e5  Nb1-c3  Ng8-f6", "<8 -9 216 338288  e6 Nf3 <Nc6> <Bb5> <d5>",
      "<23 -36 303 2123058 c5!", "<8 -49 123 1568638 1. ... e5 2. Nf3 Nf6",
      "<7 12 100 5000 (+) d5 exd5", "<6 3 50 900 c5;Nf3;d6", "<12005 0 0 0 e5", "<0 +5 1 10 e5",
      "<30 5 100000 98765432100 e5"},
     {"info depth 10 score cp -44 time 420 nodes 166450 nps 396309 pv e7e5 b1c3 g8f6",
      "info depth 8 score cp -9 time 2160 nodes 338288 nps 156614 pv e7e6 g1f3 b8c6 f1b5 d7d5",
      "info depth 23 score cp -36 time 3030 nodes 2123058 nps 700679 pv c7c5",
      "info depth 8 score cp -49 time 1230 nodes 1568638 nps 1275315 pv e7e5 g1f3 g8f6",
      "info depth 7 score cp 12 time 1000 nodes 5000 nps 5000 pv d7d5 e4d5",
      "info depth 6 score cp 3 time 500 nodes 900 nps 1800 pv c7c5 g1f3 d7d6",
      "info depth 12 score cp 0 time 0 nodes 0 nps 0 pv e7e5",
      "info depth 1 score cp 5 time 10 nodes 10 nps 1000 pv e7e5",
      "info depth 30 score cp 5 time 1000000 nodes 98765432100 nps 98765432 pv e7e5"},
     {}},
    {"LinesThatAreNotThinkingAreIgnored",
     "e2e4",
     {"<# comment 1 2 3", "<GNU Chess 6.2.9", "<  r n b q k b n r", "<Nodes searched: 12345",
      "<1 2 3", "<tellics say hello", "<resign now"},
     {},
     {}},
    // The lowest score has no negation; a score below it reads as the lowest.
    {"NoiseHidesShallowPvsAndWhiteScoreTurnsScoresToTheMoversView",
     "e2e4",
     {"setoption name Noise value 10", "setoption name WhiteScore value true",
      "<9 35 10 100 Nf6 Nc3", "<10 35 10 100 e5", "<10 -2147483648 10 100 e5",
      "<10 -9999999999 10 100 e5"},
     {"info depth 9 score cp -35 time 100 nodes 100 nps 1000",
      "info depth 10 score cp -35 time 100 nodes 100 nps 1000 pv e7e5",
      "info depth 10 score cp 2147483647 time 100 nodes 100 nps 1000 pv e7e5",
      "info depth 10 score cp 2147483647 time 100 nodes 100 nps 1000 pv e7e5"},
     {}},
    // Mate scores in the convention the settings name; a distance no game
    // reaches stays centipawns.
    {"MateScoresFollowTheNamedConventionAlsoAsWhiteScores",
     "f2f3 e7e5 g2g4",
     {"<4 -100002 5 100", "setoption name MateScore value 30000 - plies", "<5 -29998 5 100",
      "setoption name MateScore value 999999-plies", "<5 999996 5 100",
      "setoption name MateScore value none", "<3 100001 5 100",
      "setoption name WhiteScore value true", "setoption name MateScore value 100000+moves",
      "<4 100002 5 100"},
     {"info depth 4 score mate -2 time 50 nodes 100 nps 2000",
      "info depth 5 score mate -1 time 50 nodes 100 nps 2000",
      "info depth 5 score mate 2 time 50 nodes 100 nps 2000",
      "info depth 3 score cp 100001 time 50 nodes 100 nps 2000",
      "info depth 4 score mate -2 time 50 nodes 100 nps 2000"},
     {}},
    {"DepthLimitUnderLevelType2IsASetlevelAndDepthBeyondItSendsMoveNow",
     "",
     {"setoption name LevelType value 2", "position startpos", "go depth 6", "<7 0 10 100 e4"},
     {"info depth 1 score cp 1", "info depth 7 score cp 0 time 100 nodes 100 nps 1000 pv e2e4"},
     {"force", "new", "post", "hard", "setlevel 0 64", "setlevel 0 6", "white", "go", "?"}},
    // e2 is empty after 1. e4 e5: the second current move is no move.
    {"StatusAndCurrentMoveLines",
     "e2e4 e7e5",
     {"<stat01: 1234 56000 8 10 30 Nf3", "<stat01: 0", "<stat01:", "<var:curmov=5 3 x b1c3",
      "<var:curmov=6 4 x e2e3"},
     {"info time 12340 nodes 56000 nps 4538 depth 8 currmovenumber 20 currmove g1f3", "info time 0",
      "info depth 5 currmovenumber 5 currmove b1c3", "info depth 6 currmovenumber 6"},
     {}},
    // The engine's move.
    {"MoveOtherThanThePvGetsNoPonderMove",
     "e2e4",
     {"<5 10 10 100 e5 Nf3", "<move d7d5"},
     {"info depth 5 score cp 10 time 100 nodes 100 nps 1000 pv e7e5 g1f3", "bestmove d7d5"},
     {}},
    {"ZeroScoreAtDepthOneIsReportedBeforeTheMove",
     "e2e4",
     {"<1 0 0 1 e5", "<move e7e5"},
     {"info depth 1 score cp 0 time 0 nodes 1 nps 1000 pv e7e5", "info depth 1 score cp 1",
      "bestmove e7e5"},
     {}},
    {"SanAndCastlingAnswersBecomeCoordinates",
     "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6",
     {"<move O-O"},
     {"bestmove e1g1"},
     {}},
    {"OldMoveFormIsAMoveAndMyMoveIsLineIsNot",
     "e2e4",
     {"<1. ... g8f6", "<My move is : g8f6"},
     {"bestmove g8f6"},
     {}},
    {"MoveWithoutASearchIsDiscardedAndLeavesTheEngineGameAlone",
     "e2e4",
     {"<move e7e5", "--", "<move d2d4", "position startpos moves e2e4 e7e5 g1f3", kClock},
     {"info depth 1 score cp 1"},
     {"time 6000", "otim 6000", "g1f3"}},
    {"SimulatedHintFollowsTheReportedPonderMove",
     "e2e4",
     {"setoption name SimulateHint value true", "<5 10 10 100 e5 Nf3", "<move e7e5", "--",
      "position startpos moves e2e4 e7e5 g1f3", "go ponder wtime 60000 btime 60000",
      "<6 20 10 100 Nc6 Bb5", "<Hint: d2d4", "<6 20 10 100 Nc6 Bb5"},
     {"info depth 1 score cp 1",
      "info depth 6 score cp 20 time 100 nodes 100 nps 1000 pv b8c6 f1b5",
      "info depth 6 score cp 20 time 100 nodes 100 nps 1000"},
     {}},
    // The engine went its own way: the next go sets it up afresh.
    {"IllegalEngineMoveStillEndsTheSearchWithOneLegalMove",
     "e2e4",
     {"<move e2e5", "position startpos moves e2e4 a7a6 d2d4", "go wtime 1000 btime 1000"},
     {"bestmove a7a6", "info depth 1 score cp 1"},
     {"force", "new", "post", "hard", "force", "level 0 0:01 0", "force", "e2e4", "a7a6", "d2d4",
      "time 100", "otim 100", "black", "go"}},
    // Until the engine gets a new game, every later go is answered at once.
    {"ResignEndsTheSearchWithALegalMoveAndConfirmsTheResult",
     "e2e4",
     {"<resign", "position startpos moves e2e4 a7a6 d2d4", "go wtime 1000 btime 1000"},
     {"info string resign", "bestmove a7a6", "info depth 1 score cp 1", "bestmove a6a5"},
     {"result 1-0"}},
    {"MatedSideStillGetsItsOneAnswer",
     "f2f3 e7e5 g2g4 d8h4",
     {"<0-1 {Black mates}"},
     {"info string 0-1 {Black mates}", "bestmove 0000"},
     {"result 0-1"}},
    // The last game's mate, repetition or fifty moves, printed after its
    // move, met by the next search; a FEN's move clock counts.
    {"StaleResultClaimsAreDiscardedAndTheSearchGoesOn",
     "e2e4",
     {"<1-0 {White mates}", "<1/2-1/2 {Draw by repetition}", "<1/2-1/2 {Fifty move rule}",
      "<move e7e5"},
     {"bestmove e7e5"},
     {}},
    {"FiftyMoveClaimOneMoveEarlyEndsTheSearch",
     "",
     {"position fen 4k3/8/8/8/8/8/8/R3K3 b - - 98 80 moves e8d8", "go wtime 1000 btime 1000", "--",
      "<1/2-1/2 {Draw by fifty-move rule}"},
     {"info string 1/2-1/2 {Draw by fifty-move rule}", "bestmove a1a2"},
     {}},
    // Setting the engine's game up.
    {"SeveralNewMovesGoInForceModeThenGo",
     "e2e4",
     {"<move e7e5", "--", "position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5",
      "go wtime 58000 btime 59000"},
     {"info depth 1 score cp 1"},
     {"force", "g1f3", "b8c6", "f1b5", "time 5900", "otim 5800", "black", "go"}},
    {"ChangedEarlierMoveSetsTheEngineUpFromScratch",
     "e2e4",
     {"<move e7e5", "--", "position startpos moves d2d4 d7d5 c2c4", "go wtime 58000 btime 59000"},
     {"info depth 1 score cp 1"},
     {"force", "new", "post", "hard", "force", "level 0 1 0", "force", "d2d4", "d7d5", "c2c4",
      "time 5900", "otim 5800", "black", "go"}},
    {"UsermoveAndSanFeaturesShapeTheMoves",
     "",
     {"<feature usermove=1 san=1", "--", "position startpos moves e2e4 e7e5 g1f3", kClock},
     {"info depth 1 score cp 1"},
     {"force", "new", "post", "hard", "force", "level 0 1 0", "force", "usermove e4", "usermove e5",
      "usermove Nf3", "time 6000", "otim 6000", "black", "go"}},
    // Repeated on the same moves, an analysis is kept without a set-up.
    {"InfiniteWithUseUndoTakesMovesBack",
     "",
     {"position startpos moves e2e4 e7e5 g1f3", "go infinite", "go infinite", "--",
      "position startpos moves e2e4", "go infinite"},
     {"info depth 1 score cp 1"},
     {"force", "undo", "undo", "analyze"}},
    // An analysis runs no clock of the engine's: the next clock search's
    // level is that of its own clock, not of a clock run down by the analysis.
    {"ClockSearchAfterAnAnalysisGetsTheLevelOfItsClock",
     "",
     {"position startpos", "go movetime 1000", "<move e2e4", "position startpos moves e2e4",
      "go infinite", "--", "stop", "position startpos moves e2e4 e7e5",
      "go wtime 20000 btime 20000"},
     {"bestmove a7a6", "info depth 1 score cp 1"},
     {"exit", "level 0 0:20 0", "e7e5", "time 2000", "otim 2000", "white", "go"}},
    {"EachSetUpStyleWritesItsPosition",
     "",
     {"position fen rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2",
      "go wtime 1000 btime 1000"},
     {"info depth 1 score cp 1"},
     {"force", "new", "post", "hard", "force",
      "setboard rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 1", "level 0 0:01 0",
      "time 100", "otim 100", "white", "go"}},
    // Stop.
    {"StopWithNothingOwedSendsNothing", "e2e4", {"<move e7e5", "--", "stop"}, {}, {}},
    {"SearchmovesStartsNothingButIsOwedAnAnswer",
     "",
     {"position startpos", "go searchmoves e2e4 d2d4", "stop"},
     {"bestmove b1a3"},
     {}},
};

class SearchExchange : public AdapterTest, public ::testing::WithParamInterface<Exchange> {};

TEST_P(SearchExchange, EachSideGetsItsLines) {
  const Exchange& e = GetParam();
  RecordingActions actions(adapter.settings);
  if (*e.thinkAfter != '\0') {
    Position("position startpos moves " + std::string(e.thinkAfter));
    Go(kClock);
    TakeGui();
    TakeEngine();
  }
  for (const std::string& step : e.steps) {
    if (step == "--") {
      TakeGui();
      TakeEngine();
    } else if (step.starts_with('<')) {
      Engine(std::string_view(step).substr(1));
    } else if (step.starts_with("position")) {
      Position(step);
    } else if (step.starts_with("go")) {
      Go(step);
    } else if (step == "stop") {
      HandleStop(adapter);
    } else {
      ApplySetting(step, adapter.settings, actions);
    }
  }
  EXPECT_EQ(TakeGui(), e.gui);
  EXPECT_EQ(TakeEngine(), e.engine);
}

INSTANTIATE_TEST_SUITE_P(Rows, SearchExchange, ::testing::ValuesIn(kExchanges),
                         [](const auto& info) { return std::string(info.param.name); });

// A new game while the engine thinks waits seconds for the old search's move:
// the flag it sets stands in for that wait here.
TEST_F(AdapterTest, MoveOfAnInterruptedSearchNeverReachesTheGui) {
  Position("position startpos moves e2e4");
  Go(kClock);
  TakeGui();
  adapter.search.stopMove = true;
  Engine("move e7e5");
  EXPECT_THAT(TakeGui(), IsEmpty());
  EXPECT_EQ(State(), SearchState::kIdle);
}

}  // namespace
}  // namespace vantro::test
