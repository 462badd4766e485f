#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "chess/move_text.h"
#include "support/adapter_fixture.h"

namespace vantro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DispatcherTest : public AdapterTest {
 protected:
  void EngineThinksAfterE4() {
    Position("position startpos moves e2e4");
    Go("go wtime 60000 btime 60000");
    TakeGui();
    TakeEngine();
  }
};

TEST_F(DispatcherTest, MoveOtherThanThePvGetsNoPonderMove) {
  EngineThinksAfterE4();
  Engine("5 10 10 100 e5 Nf3");
  TakeGui();
  Engine("move d7d5");
  EXPECT_THAT(TakeGui(), ElementsAre("bestmove d7d5"));
}

TEST_F(DispatcherTest, ZeroScoreAtDepthOneIsReportedBeforeTheMove) {
  EngineThinksAfterE4();
  Engine("1 0 0 1 e5");
  TakeGui();
  Engine("move e7e5");
  EXPECT_THAT(TakeGui(), ElementsAre("info depth 1 score cp 1", "bestmove e7e5"));
}

TEST_F(DispatcherTest, SanAndCastlingAnswersBecomeCoordinates) {
  Position("position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6");
  Go("go wtime 60000 btime 60000");
  TakeGui();
  Engine("move O-O");
  EXPECT_THAT(TakeGui(), ElementsAre("bestmove e1g1"));
}

TEST_F(DispatcherTest, MoveOfAnInterruptedSearchNeverReachesTheGui) {
  EngineThinksAfterE4();
  adapter.search.stopMove = true;
  Engine("move e7e5");
  EXPECT_THAT(TakeGui(), IsEmpty());
  EXPECT_EQ(State(), SearchState::kIdle);
}

TEST_F(DispatcherTest, MoveWithoutASearchIsDiscarded) {
  Position("position startpos");
  Engine("move e2e4");
  EXPECT_THAT(TakeGui(), IsEmpty());
  EXPECT_EQ(adapter.search.engineGame.Count(), 0);
}

TEST_F(DispatcherTest, DecisiveResultIsPassedOnAndConfirmed) {
  EngineThinksAfterE4();
  Engine("0-1 {Black mates}");
  EXPECT_THAT(TakeGui(), ElementsAre("info string 0-1 {Black mates}", "bestmove a7a6"));
  EXPECT_THAT(TakeEngine(), ElementsAre("result 0-1"));
  EXPECT_TRUE(adapter.search.engineResigned);
}

TEST_F(DispatcherTest, ResignWithMoreWordsIsNotAResignation) {
  EngineThinksAfterE4();
  Engine("resign now");
  EXPECT_THAT(TakeGui(), IsEmpty());
}

TEST_F(DispatcherTest, SimulatedHintFollowsTheReportedPonderMove) {
  adapter.settings.simulateHint = true;
  EngineThinksAfterE4();
  Engine("5 10 10 100 e5 Nf3");
  Engine("move e7e5");
  EXPECT_EQ(MoveToCoord(adapter.search.hintMove), "g1f3");
  adapter.settings.simulateHint = false;
  Engine("Hint: d2d4");
  EXPECT_EQ(MoveToCoord(adapter.search.hintMove), "d2d4");
  EXPECT_FALSE(adapter.search.ponderMoveConfirmed);
}

}  // namespace
}  // namespace vantro::test
