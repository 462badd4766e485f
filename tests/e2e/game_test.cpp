// Games through the adapter: what the GUI and the engine see of positions,
// searches, pondering, analysis and stops.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Not;
using ::testing::StartsWith;

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
  // Thinking may arrive while pondering, but no move before the ponderhit.
  EXPECT_THAT(session->ReadUntil("bestmove", 300ms), Not(Contains(StartsWith("bestmove"))));
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

// Quirks of real engines, each played out with a fake engine scripted to act
// the same way: what the engine must be sent so the GUI gets its bestmove.
struct QuirkCase {
  const char* what;
  std::vector<std::pair<const char*, const char*>> rules;  // word, action
  std::vector<std::string> options;
  std::vector<std::string> gui;  // a bestmove is awaited after "stop" and each go it doesn't follow
  std::string after;             // the engine lines from the last one that equals this...
  std::vector<std::string> then;  // ...hold these in this order
};

TEST(EngineQuirks, TheEngineIsToldWhatItNeedsAndEveryGoGetsItsBestmove) {
  const std::string fen = "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  const QuirkCase cases[] = {
      {"exit after analysis leaves force mode: one new move needs go",
       {{"go", "print move g1f3"}},
       {},
       {"position startpos moves e2e4", "go infinite", "stop", "position startpos moves e2e4 e7e5",
        "go wtime 10000 btime 10000"},
       "exit",
       {"e7e5", "time 1000", "otim 1000", "white", "go"}},
      {"a depth limit kept across analysis and new is lifted",
       {{"go", "print move e7e5"}},
       {},
       {"position startpos moves e2e4", "go depth 3", "position startpos moves d2d4", "go infinite",
        "stop", "ucinewgame", "position startpos moves e2e4", "go wtime 10000 btime 10000"},
       "sd 3",
       {"sd 99", "analyze", "exit", "new", "go"}},
      {"a fixed move time is replaced by the next clock search's level",
       {{"go", "print move e7e5"}, {"g1f3", "print move b8c6"}},
       {},
       {"position startpos moves e2e4", "go movetime 1000",
        "position startpos moves e2e4 e7e5 g1f3", "go wtime 10000 btime 10000"},
       "st 1",
       {"level 0 0:10 0", "time 1000", "otim 1000", "g1f3"}},
      {"setboard goes in force mode",
       {{"go", "print move e2e4"}},
       {},
       {fen, "go wtime 10000 btime 10000"},
       "new",
       {"force", "setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "white", "go"}},
      {"the file's move-now command stops the search",
       {{"go", "print 4 30 10 500 e2e4 e8d7"}, {"easy", "print move e2e4"}},
       {"MoveNow=easy\\nhard"},
       {fen, "go wtime 60000 btime 60000", "stop"},
       "go",
       {"easy", "hard"}},
      {"analysis is analyze, ended by exit",
       {},
       {},
       {"position startpos", "go infinite", "stop"},
       "analyze",
       {"exit"}},
      {"without the analyze feature, analysis is a search without a time limit",
       {{"?", "print move d7d5"}},
       {"Analyze=false"},
       {"position startpos moves d2d4", "go infinite", "stop"},
       "new",
       {"level 1 1440 0", "go", "?"}},
      {"a depth limit under level type 2 is a setlevel",
       {{"go", "print move e2e4"}},
       {"LevelType=2"},
       {"position startpos", "go depth 6"},
       "new",
       {"setlevel 0 6", "go"}},
      {"a fixed move time as one move in that time",
       {{"go", "print move e2e4"}},
       {"MoveTime=level"},
       {fen, "go movetime 2500"},
       "new",
       {"level 1 0:03 0", "time 250", "otim 250", "white", "go"}},
  };
  for (const QuirkCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    FakeEngineScript script;
    script.Features("setboard=1 done=1");
    for (const auto& [word, action] : c.rules) script.On(word, action);
    script.ExitOnQuit();
    std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), c.options);
    UciSession session(dir.Path(), {def});
    ASSERT_TRUE(session.Handshake(5s));
    for (std::size_t i = 0; i < c.gui.size(); ++i) {
      const std::string& line = c.gui[i];
      session.Send(line);
      bool stopNext = i + 1 < c.gui.size() && c.gui[i + 1] == "stop";
      if (stopNext) std::this_thread::sleep_for(200ms);
      if (line == "stop" || (line.rfind("go", 0) == 0 && !stopNext)) {
        ASSERT_TRUE(session.WaitFor("bestmove", 3s)) << line;
      }
    }
    // Lines after the last `after` hold `then` in order; the engine may answer
    // a line before its log holds the next one, so the log is read again.
    auto inOrder = [&](std::vector<std::string>& tail) {
      std::vector<std::string> got = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
      auto from = std::find(got.rbegin(), got.rend(), c.after);
      tail.assign(from.base(), got.end());
      auto at = tail.begin();
      for (const std::string& want : c.then) {
        at = std::find(at, tail.end(), want);
        if (at == tail.end()) return false;
      }
      return true;
    };
    std::vector<std::string> tail;
    auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!inOrder(tail) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(inOrder(tail)) << ::testing::PrintToString(tail);
  }
}

}  // namespace
}  // namespace vantro::test
