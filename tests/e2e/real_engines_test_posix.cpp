// Debian's xboard engines through the ready definition files in examples/:
// a short game in which every "go" gets a legal "bestmove".
#include <gtest/gtest.h>
#include <unistd.h>

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

class RealEngine : public ::testing::TestWithParam<const char*> {};

TEST_P(RealEngine, PlaysLegalMovesUnderEveryKindOfGo) {
  std::string file = SourceDir() + "/examples/" + GetParam() + ".eng";
  TempDir dir;
  UciSession session(dir.Path(), {file});
  ASSERT_TRUE(session.Handshake(15s)) << "is the engine installed? (tools/deps.sh)";
  std::string position = "position startpos moves";
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
    std::string move = best->substr(9, best->find(' ', 9) - 9);
    ASSERT_TRUE(IsLegalAfter(position, move)) << *best << " after " << position;
    position += " " + move;
  }
  session.Send(position);
  session.Send("go infinite");
  std::this_thread::sleep_for(300ms);
  session.Send("stop");
  std::optional<std::string> best = session.WaitFor("bestmove", 15s);
  ASSERT_TRUE(best);
  EXPECT_TRUE(IsLegalAfter(position, best->substr(9, best->find(' ', 9) - 9))) << *best;
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(10s), 0);
}

INSTANTIATE_TEST_SUITE_P(Debian, RealEngine,
                         ::testing::Values("fairymax", "gnuchess", "hoichess", "phalanx", "sjeng"));

}  // namespace
}  // namespace vantro::test
