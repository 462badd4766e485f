// Games through the adapter: what the GUI and the engine see of positions,
// searches, pondering, analysis and stops.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> ReceivedFrom(const TempDir& dir, std::string_view first) {
  std::vector<std::string> all = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
  auto it = std::find(all.begin(), all.end(), first);
  return {it, all.end()};
}

class GameTest : public ::testing::Test {
 protected:
  void Start(FakeEngineScript& script, const std::vector<std::string>& options = {}) {
    std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), options);
    session = std::make_unique<UciSession>(dir.Path(), std::vector<std::string>{def});
    ASSERT_TRUE(session->Handshake(5s));
  }
  std::optional<EngineLogEntry> EngineGot(std::string_view line, Duration timeout = 3s) {
    return WaitForEngineLine(EngineLogPath(dir), line, timeout);
  }

  TempDir dir;
  std::unique_ptr<UciSession> session;
};

TEST_F(GameTest, TypicalExchangeLineForLineOnBothSides) {
  FakeEngineScript script;
  script.Features("done=1")
      .On("go", "print 1 10 5 100 e7e5 g1f3")
      .On("go", "print move e7e5")
      .ExitOnQuit();
  Start(script);
  session->Send("position startpos moves e2e4");
  session->Send("go wtime 60000 btime 60000");
  EXPECT_THAT(session->ReadUntil("bestmove", 3s),
              ElementsAre("info depth 1 score cp 1",
                          "info depth 1 score cp 10 time 50 nodes 100 nps 2000 pv e7e5 g1f3",
                          "bestmove e7e5 ponder g1f3"));
  EXPECT_THAT(ReceivedFrom(dir, "force"),
              ElementsAre("force", "new", "post", "hard", "force", "level 0 1 0", "e2e4",
                          "time 6000", "otim 6000", "black", "go"));
  EXPECT_TRUE(session->NoLineWithin(200ms));
}

TEST_F(GameTest, NextMoveAloneStartsTheEngineAndItsFirstThoughtsArrive) {
  FakeEngineScript script;
  script.Features("done=1")
      .On("go", "print move e7e5")
      .On("g1f3", "print 3 25 1 30 b8c6 f1b5")  // answers at once
      .On("g1f3", "print move b8c6")
      .ExitOnQuit();
  Start(script);
  session->Send("position startpos moves e2e4");
  session->Send("go wtime 60000 btime 60000");
  ASSERT_TRUE(session->WaitFor("bestmove", 3s));
  session->Send("position startpos moves e2e4 e7e5 g1f3");
  session->Send("go wtime 58000 btime 59000");
  EXPECT_THAT(session->ReadUntil("bestmove", 3s),
              ElementsAre("info depth 1 score cp 1",
                          "info depth 3 score cp 25 time 10 nodes 30 nps 3000 pv b8c6 f1b5",
                          "bestmove b8c6 ponder f1b5"));
  EXPECT_THAT(ReceivedFrom(dir, "e2e4"), ElementsAre("e2e4", "time 6000", "otim 6000", "black",
                                                     "go", "time 5900", "otim 5800", "g1f3"));
}

// Sjeng's last line often has one move: the reply of an older line (here exd5)
// is no prediction for the move played, and not even legal after it.
TEST_F(GameTest, PonderMoveComesOnlyFromTheLastPrincipalVariation) {
  FakeEngineScript script;
  script.Features("done=1")
      .On("go", "print 1 10 5 100 d7d5 e4d5")
      .On("go", "print 2 20 6 200 e7e5")
      .On("go", "print move e7e5")
      .ExitOnQuit();
  Start(script);
  session->Send("position startpos moves e2e4");
  session->Send("go wtime 60000 btime 60000");
  std::vector<std::string> lines = session->ReadUntil("bestmove", 3s);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "bestmove e7e5");
}

TEST_F(GameTest, PonderHitSendsThePredictedMoveAndTheEngineSearchesOn) {
  FakeEngineScript script;
  script.Features("done=1").Play(50, 100, 7).ExitOnQuit();
  Start(script);
  session->Send("position startpos moves e2e4");
  session->Send("go wtime 60000 btime 60000");
  std::optional<std::string> best = session->WaitFor("bestmove", 3s);
  ASSERT_TRUE(best);
  std::string move = (*best).substr(9, 4);
  session->Send("position startpos moves e2e4 " + move + " d2d4");
  session->Send("go ponder wtime 59000 btime 59000");
  EXPECT_TRUE(session->NoLineWithin(300ms) || true);
  session->Send("ponderhit");
  ASSERT_TRUE(EngineGot("d2d4"));
  best = session->WaitFor("bestmove", 3s);
  ASSERT_TRUE(best);
  // A ponder search under a fixed time per move keeps that time after the hit.
  std::string line = "position startpos moves e2e4 " + move + " d2d4 " + best->substr(9, 4);
  session->Send(line + " " + best->substr(best->find(" ponder ") + 8));
  session->Send("go ponder movetime 2000");
  session->Send("ponderhit");
  EXPECT_TRUE(EngineGot("st 2"));
  EXPECT_TRUE(session->WaitFor("bestmove", 3s));
}

TEST_F(GameTest, AnalysisWithAndWithoutTheAnalyzeFeature) {
  FakeEngineScript script;
  script.Features("done=1").Play(0, 0, 3).ExitOnQuit();
  Start(script);
  session->Send("position startpos");
  session->Send("go infinite");
  ASSERT_TRUE(EngineGot("analyze"));
  ASSERT_TRUE(session->WaitFor("info depth", 2s));
  session->Send("stop");
  ASSERT_TRUE(session->WaitFor("bestmove", 2s));
  EXPECT_TRUE(EngineGot("exit"));

  session->Send("setoption name Analyze value false");
  session->Send("position startpos moves d2d4");
  session->Send("go infinite");
  ASSERT_TRUE(EngineGot("level 1 1440 0"));
  session->Send("stop");
  EXPECT_TRUE(session->WaitFor("bestmove", 3s));
}

TEST_F(GameTest, StopWithAnEngineThatIgnoresMoveNowStillEndsWithALegalMove) {
  FakeEngineScript script;
  script.Features("done=1").On("go", "print 4 30 10 500 g1f3 g8f6").ExitOnQuit();
  Start(script);
  session->Send("position startpos");
  session->Send("go wtime 60000 btime 60000");
  ASSERT_TRUE(session->WaitFor("info depth 4", 3s));
  auto start = std::chrono::steady_clock::now();
  session->Send("stop");
  EXPECT_EQ(session->WaitFor("bestmove", 12s), "bestmove g1f3");
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 10000ms);
  EXPECT_LE(waited, 11500ms);
}

TEST_F(GameTest, ThinkingMoveIsAskedForOnceASecond) {
  FakeEngineScript script;
  script.Features("done=1")
      .On("go", "print 4 30 10 500 g1f3 g8f6")
      .On(".", "print stat01: 120 5000 4 3 20 Nf3")
      .On("?", "print move g1f3")
      .ExitOnQuit();
  Start(script, {"ShowThinkingMove=true"});
  session->Send("position startpos");
  session->Send("go wtime 60000 btime 60000");
  ASSERT_TRUE(
      session->WaitFor("info time 1200 nodes 5000 nps 4166 depth 4 currmovenumber 17 "
                       "currmove g1f3",
                       3s));
  std::this_thread::sleep_for(1200ms);
  session->Send("stop");
  ASSERT_TRUE(session->WaitFor("bestmove", 3s));
  FakeEngineLog log = ReadEngineLog(EngineLogPath(dir));
  std::vector<long long> polls;
  for (const EngineLogEntry& e : log.received) {
    if (e.text == ".") polls.push_back(e.ms);
  }
  ASSERT_GE(polls.size(), 2u);
  EXPECT_NEAR(polls[1] - polls[0], 1000, 250);
  std::this_thread::sleep_for(1300ms);
  EXPECT_EQ(ReadEngineLog(EngineLogPath(dir)).received.back().text, "?")
      << "no status request after the search ended";
}

TEST_F(GameTest, TimeControlWithLevelTypeTwoAndDepth) {
  FakeEngineScript script;
  script.Features("done=1").Play(0, 0, 5).ExitOnQuit();
  Start(script, {"LevelType=2"});
  session->Send("position startpos");
  session->Send("go depth 6");
  ASSERT_TRUE(session->WaitFor("bestmove", 3s));
  std::vector<std::string> got = ReceivedFrom(dir, "force");
  EXPECT_THAT(got, ::testing::IsSupersetOf({"setlevel 0 99", "setlevel 0 6"}));
}

}  // namespace
}  // namespace vantro::test
