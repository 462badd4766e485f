// Debian's xboard engines through the ready definition files in examples/:
// a short game in which every "go" gets a legal "bestmove".
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "search/position_command.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

bool IsLegalAfter(const std::string& position, std::string_view move) {
  GameRecord game;
  ReadPositionCommand(position, game);
  Board board = game.Replay();
  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  for (int i = 0; i < legal.count; ++i) {
    if (MoveToCoord(legal.moves[i]) == move) return true;
  }
  return false;
}

constexpr const char* kMiddleGame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 9";

std::string MoveOf(const std::string& bestmove) {
  return bestmove.substr(9, bestmove.find(' ', 9) - 9);
}

class RealEngine : public ::testing::TestWithParam<const char*> {};

TEST_P(RealEngine, PlaysLegalMovesUnderEveryKindOfGo) {
  std::string file = SourceDir() + "/examples/" + GetParam() + ".eng";
  TempDir dir;
  UciSession session(dir.Path(), {file});
  ASSERT_TRUE(session.Handshake(15s)) << "is the engine installed? (tools/deps.sh)";
  // A position out of every opening book, given by FEN: engines take it only
  // when the set-up suits them (some accept "setboard" in force mode only).
  std::string position = std::string("position fen ") + kMiddleGame + " moves";
  const char* gos[] = {"go wtime 20000 btime 20000",
                       "go movetime 300",
                       "go wtime 15000 btime 15000 winc 100 binc 100",
                       "go depth 3",
                       "go wtime 10000 btime 10000 movestogo 20",
                       "go movetime 200"};
  for (const char* go : gos) {
    session.Send(position);
    session.Send(go);
    std::optional<std::string> best = session.WaitFor("bestmove", 20s);
    ASSERT_TRUE(best) << go;
    std::string move = MoveOf(*best);
    ASSERT_TRUE(IsLegalAfter(position, move)) << *best << " after " << position;
    position += " " + move;
  }
  session.Send(position);
  session.Send("go infinite");
  std::this_thread::sleep_for(300ms);
  session.Send("stop");
  std::optional<std::string> best = session.WaitFor("bestmove", 15s);
  ASSERT_TRUE(best);
  EXPECT_TRUE(IsLegalAfter(position, MoveOf(*best))) << *best;
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(10s), 0);
}

// A depth limit must not outlive its search, whatever came between: these
// engines keep "sd" across "new".
TEST_P(RealEngine, ClockSearchAfterDepthAndAnalysisIsNotDepthLimited) {
  TempDir dir;
  UciSession session(dir.Path(), {SourceDir() + "/examples/" + GetParam() + ".eng"});
  ASSERT_TRUE(session.Handshake(15s)) << "is the engine installed? (tools/deps.sh)";
  std::string position = std::string("position fen ") + kMiddleGame;
  session.Send(position);
  session.Send("go depth 3");
  ASSERT_TRUE(session.WaitFor("bestmove", 20s));
  session.Send(position);
  session.Send("go infinite");
  std::this_thread::sleep_for(300ms);
  session.Send("stop");
  ASSERT_TRUE(session.WaitFor("bestmove", 15s));
  session.Send("ucinewgame");
  session.Send(position + " moves a2a3 a7a6");
  session.Send("go wtime 8000 btime 8000");
  int deepest = 0;
  for (const std::string& line : session.ReadUntil("bestmove", 20s)) {
    if (line.rfind("info depth ", 0) == 0) deepest = std::max(deepest, std::stoi(line.substr(11)));
  }
  EXPECT_GT(deepest, 3);
}

INSTANTIATE_TEST_SUITE_P(Debian, RealEngine,
                         ::testing::Values("fairymax", "gnuchess", "hoichess", "phalanx", "sjeng",
                                           "dreamer", "stockfish"));

}  // namespace
}  // namespace vantro::test
