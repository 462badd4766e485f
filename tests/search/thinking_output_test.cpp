#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "chess/move_text.h"
#include "support/adapter_fixture.h"

namespace vantro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The engine thinks for black after 1. e4 e5 2. Nf3 ... or for white after
// 1. e4 e5, as each test sets up.
class ThinkingOutputTest : public AdapterTest {
 protected:
  void ThinkAfter(std::string_view moves) {
    Position("position startpos moves " + std::string(moves));
    Go("go wtime 60000 btime 60000");
    TakeGui();
    TakeEngine();
  }
};

TEST_F(ThinkingOutputTest, ThinkingLineBecomesInfoWithCoordinatePv) {
  ThinkAfter("e2e4 e7e5");
  Engine("9 156 1084 48000 Nf3 Nc6 Bb5");
  EXPECT_THAT(TakeGui(), ElementsAre("info depth 9 score cp 156 time 10840 nodes 48000 nps 4428 "
                                     "pv g1f3 b8c6 f1b5"));
  EXPECT_EQ(MoveToCoord(adapter.search.pvBestMove), "g1f3");
  EXPECT_EQ(MoveToCoord(adapter.search.pvPonderMove), "b8c6");
}

TEST_F(ThinkingOutputTest, RealEngineShapesAllGiveCleanPvs) {
  ThinkAfter("e2e4");
  struct Case {
    const char* line;
    const char* info;
  } cases[] = {
      {"10 -44 42 166450  e7-e5  Nb1-c3  Ng8-f6",
       "info depth 10 score cp -44 time 420 nodes 166450 nps 396309 pv e7e5 b1c3 g8f6"},
      {"8 -9 216 338288  e6 Nf3 <Nc6> <Bb5> <d5>",
       "info depth 8 score cp -9 time 2160 nodes 338288 nps 156614 pv e7e6 g1f3 b8c6 f1b5 d7d5"},
      {"23 -36 303 2123058 c5!",
       "info depth 23 score cp -36 time 3030 nodes 2123058 nps 700679 "
       "pv c7c5"},
      {"8 -49 123 1568638 1. ... e5 2. Nf3 Nf6",
       "info depth 8 score cp -49 time 1230 nodes 1568638 nps 1275315 pv e7e5 g1f3 g8f6"},
      {"7 12 100 5000 (+) d5 exd5",
       "info depth 7 score cp 12 time 1000 nodes 5000 nps 5000 pv "
       "d7d5 e4d5"},
      {"6 3 50 900 c5;Nf3;d6",
       "info depth 6 score cp 3 time 500 nodes 900 nps 1800 pv c7c5 g1f3 "
       "d7d6"},
      {"12005 0 0 0 e5", "info depth 12 score cp 0 time 0 nodes 0 nps 0 pv e7e5"},
      {"0 +5 1 10 e5", "info depth 1 score cp 5 time 10 nodes 10 nps 1000 pv e7e5"},
  };
  for (const Case& c : cases) {
    Engine(c.line);
    EXPECT_THAT(TakeGui(), ElementsAre(c.info)) << c.line;
  }
}

TEST_F(ThinkingOutputTest, LinesThatAreNotThinkingAreIgnored) {
  ThinkAfter("e2e4");
  for (const char* line : {"# comment 1 2 3", "GNU Chess 6.2.9", "  r n b q k b n r",
                           "Nodes searched: 12345", "1 2 3", "tellics say hello"}) {
    Engine(line);
  }
  EXPECT_THAT(TakeGui(), IsEmpty());
}

TEST_F(ThinkingOutputTest, NoiseHidesShallowPvsAndKeepsPvMoves) {
  adapter.settings.noise = 10;
  ThinkAfter("e2e4 e7e5");
  Engine("9 10 10 100 Nf3 Nc6");
  Engine("10 10 10 100 d4 exd4");
  EXPECT_THAT(TakeGui(), ElementsAre("info depth 9 score cp 10 time 100 nodes 100 nps 1000",
                                     "info depth 10 score cp 10 time 100 nodes 100 nps 1000 pv "
                                     "d2d4 e5d4"));
}

TEST_F(ThinkingOutputTest, WhiteScoreTurnsScoresToTheMoversView) {
  adapter.settings.whiteScore = true;
  ThinkAfter("e2e4");  // black to move
  Engine("5 35 10 100 e5");
  Engine("5 -2147483648 10 100 e5");  // the lowest score has no negation
  Engine("5 -9999999999 10 100 e5");  // read as the lowest
  EXPECT_THAT(TakeGui(), ElementsAre(::testing::HasSubstr("score cp -35"),
                                     ::testing::HasSubstr("score cp 2147483647"),
                                     ::testing::HasSubstr("score cp 2147483647")));
}

TEST_F(ThinkingOutputTest, DepthBeyondTheLimitSendsMoveNow) {
  Position("position startpos");
  Go("go depth 6");
  TakeEngine();
  Engine("7 0 10 100 e4");
  EXPECT_THAT(TakeEngine(), ElementsAre("?"));
  EXPECT_EQ(TakeGui().size(), 2u);  // the first info line and this one
}

TEST_F(ThinkingOutputTest, StatusAndCurrentMoveLines) {
  ThinkAfter("e2e4 e7e5");
  Engine("stat01: 1234 56000 8 10 30 Nf3");
  Engine("stat01: 0");
  Engine("stat01:");
  Engine("var:curmov=5 3 x b1c3");
  Engine("var:curmov=6 4 x e2e3");  // illegal: e2 is empty
  EXPECT_THAT(TakeGui(), ElementsAre("info time 12340 nodes 56000 nps 4538 depth 8 "
                                     "currmovenumber 20 currmove g1f3",
                                     "info time 0", "info depth 5 currmovenumber 5 currmove b1c3",
                                     "info depth 6 currmovenumber 6"));
}

TEST_F(ThinkingOutputTest, StatusPollTurnsActiveWithTheFirstInfoAndOffWithTheMove) {
  adapter.settings.showThinkingMove = true;
  ThinkAfter("e2e4");
  EXPECT_EQ(adapter.search.statusPoll, StatusPoll::kArmed);
  Engine("5 35 10 100 e5");
  EXPECT_EQ(adapter.search.statusPoll, StatusPoll::kActive);
  Engine("move e7e5");
  EXPECT_EQ(adapter.search.statusPoll, StatusPoll::kOff);
}

TEST_F(ThinkingOutputTest, HugeNodeCountsAreNotTruncated) {
  ThinkAfter("e2e4");
  Engine("30 5 100000 98765432100 e5");
  EXPECT_THAT(TakeGui(), ElementsAre(::testing::HasSubstr("nodes 98765432100 nps 98765432")));
}

}  // namespace
}  // namespace vantro::test
