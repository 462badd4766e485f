#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/adapter_fixture.h"

namespace vantro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The typical exchange, the next single move, ponderhit and analysis are
// also driven end to end (tests/e2e/game_test.cpp).
class SearchControlTest : public AdapterTest {
 protected:
  // The opening of the typical exchange: the engine plays black after e2e4.
  void StartGameAfterE4() {
    Position("position startpos moves e2e4");
    Go("go wtime 60000 btime 60000");
  }
};

TEST_F(SearchControlTest, SeveralNewMovesGoInForceModeThenGo) {
  StartGameAfterE4();
  Engine("move e7e5");
  TakeEngine();
  Position("position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5");
  Go("go wtime 58000 btime 59000");
  EXPECT_THAT(TakeEngine(), ElementsAre("force", "g1f3", "b8c6", "f1b5", "time 5900", "otim 5800",
                                        "black", "go"));
}

TEST_F(SearchControlTest, ChangedEarlierMoveSetsTheEngineUpFromScratch) {
  StartGameAfterE4();
  Engine("move e7e5");
  TakeEngine();
  Position("position startpos moves d2d4 d7d5 c2c4");
  Go("go wtime 58000 btime 59000");
  std::vector<std::string> sent = TakeEngine();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[0], "force");
  EXPECT_EQ(sent[1], "new");
  EXPECT_THAT(sent, ::testing::Contains("d2d4"));
  EXPECT_EQ(sent.back(), "go");
}

TEST_F(SearchControlTest, UsermoveAndSanFeaturesShapeTheMoves) {
  adapter.engine.usermoveFeature = true;
  adapter.engine.sanFeature = true;
  Position("position startpos moves e2e4 e7e5 g1f3");
  Go("go wtime 60000 btime 60000");
  std::vector<std::string> sent = TakeEngine();
  EXPECT_THAT(sent, ::testing::IsSupersetOf({"usermove e4", "usermove e5", "usermove Nf3"}));
}

TEST_F(SearchControlTest, InfiniteWithUseUndoTakesMovesBack) {
  Position("position startpos moves e2e4 e7e5 g1f3");
  Go("go infinite");
  Go("go infinite");  // repeated on the same moves: kept, no set-up
  TakeEngine();
  Position("position startpos moves e2e4");
  Go("go infinite");
  EXPECT_THAT(TakeEngine(), ElementsAre("force", "undo", "undo", "analyze"));
}

TEST_F(SearchControlTest, StopWithNothingOwedSendsNothing) {
  StartGameAfterE4();
  Engine("move e7e5");
  TakeGui();
  TakeEngine();
  HandleStop(adapter);  // crosses the engine's answer
  EXPECT_THAT(TakeGui(), IsEmpty());
  EXPECT_THAT(TakeEngine(), IsEmpty());
}

TEST_F(SearchControlTest, SearchmovesStartsNothingButIsOwedAnAnswer) {
  Position("position startpos");
  Go("go searchmoves e2e4 d2d4");
  EXPECT_THAT(TakeEngine(), IsEmpty());
  HandleStop(adapter);
  EXPECT_THAT(TakeGui(), ElementsAre("bestmove b1a3"));
}

TEST_F(SearchControlTest, EachSetUpStyleWritesItsPosition) {
  const char* fen = "position fen rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2";
  Position(fen);
  Go("go wtime 1000 btime 1000");
  EXPECT_THAT(TakeEngine(), ::testing::Contains("setboard "
                                                "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/"
                                                "RNBQKBNR w KQkq e6 0 1"));
}

TEST_F(SearchControlTest, ResignEndsTheSearchWithALegalMoveAndConfirmsTheResult) {
  StartGameAfterE4();
  TakeGui();
  TakeEngine();
  Engine("resign");
  EXPECT_THAT(TakeGui(), ElementsAre("info string resign", "bestmove a7a6"));
  EXPECT_THAT(TakeEngine(), ElementsAre("result 1-0"));
  // Until the engine gets a new game, every go is answered at once.
  Position("position startpos moves e2e4 a7a6 d2d4");
  Go("go wtime 1000 btime 1000");
  EXPECT_THAT(TakeGui(), ElementsAre("info depth 1 score cp 1", "bestmove a6a5"));
  // Mated: nothing legal, and still the one answer.
  Position("position startpos moves f2f3 e7e5 g2g4 d8h4");
  Go("go wtime 1000 btime 1000");
  TakeGui();
  Engine("0-1 {Black mates}");
  EXPECT_THAT(TakeGui(), ElementsAre("info string 0-1 {Black mates}", "bestmove 0000"));
}

TEST_F(SearchControlTest, IllegalEngineMoveStillEndsTheSearchWithOneLegalMove) {
  StartGameAfterE4();
  TakeGui();
  Engine("move e2e5");
  std::vector<std::string> gui = TakeGui();
  ASSERT_EQ(gui.size(), 1u);
  EXPECT_EQ(gui[0], "bestmove a7a6");
  EXPECT_EQ(State(), SearchState::kIdle);
  // The engine went its own way: the next go sets it up afresh.
  TakeEngine();
  Position("position startpos moves e2e4 a7a6 d2d4");
  Go("go wtime 1000 btime 1000");
  EXPECT_THAT(TakeEngine(), ::testing::IsSupersetOf({"force", "new", "e2e4", "a7a6", "d2d4"}));
}

TEST_F(SearchControlTest, OldMoveFormIsAMoveAndMyMoveIsLineIsNot) {
  StartGameAfterE4();
  TakeGui();
  Engine("1. ... g8f6");
  Engine("My move is : g8f6");
  EXPECT_THAT(TakeGui(), ElementsAre("bestmove g8f6"));
}

}  // namespace
}  // namespace vantro::test
