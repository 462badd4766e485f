// Random GUI conversations against an engine that moves at random times:
// every "go" gets exactly one legal "bestmove", and none comes without one,
// also across stray ponderhits, a new search sent right behind a "stop", and
// single new moves after analyses. The sanitizer builds run it too.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "search/position_command.h"
#include "support/conversation.h"
#include "support/fake_engine_script.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

struct Conversation {
  std::mt19937 rng;
  std::vector<std::string> moves;

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  std::string PositionLine() const {
    std::string line = "position startpos";
    if (!moves.empty()) line += " moves";
    for (const std::string& m : moves) line += " " + m;
    return line;
  }
  MoveList LegalMoves() const {
    GameRecord game;
    ReadPositionCommand(PositionLine(), game);
    MoveList legal;
    MoveGenerator::GenerateLegal(game.Replay(), legal);
    return legal;
  }
  bool Legal(std::string_view move) const {
    const MoveList legal = LegalMoves();
    for (int i = 0; i < legal.count; ++i) {
      if (MoveToCoord(legal.moves[i]) == move) return true;
    }
    return false;
  }
  bool Over() const { return LegalMoves().count == 0 || moves.size() > 150; }
  std::string RandomMove() {
    const MoveList legal = LegalMoves();
    return MoveToCoord(legal.moves[Between(0, legal.count - 1)]);
  }
};

void Pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(SearchProperty, ExactlyOneLegalBestMovePerGo) {
  for (unsigned seed : {11u, 23u, 42u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TempDir dir;
    FakeEngineScript script;
    script.Features("done=1").Play(0, 60, seed);
    auto session = StartVantro(dir, script.WriteTo(dir));
    ASSERT_TRUE(session->Handshake(5s));
    Conversation c{std::mt19937(seed), {}};
    int gos = 0;

    for (int round = 0; round < 30; ++round) {
      if (c.Over()) {
        c.moves.clear();
        session->Send("ucinewgame");
      }
      session->Send(c.PositionLine());
      int kind = c.Between(0, 8);
      int owed = 1;
      ++gos;
      switch (kind) {
        case 0:
          session->Send("go wtime 30000 btime 30000 winc 100 binc 100");
          break;
        case 1:
          session->Send("go movetime " + std::to_string(c.Between(20, 150)));
          break;
        case 2:
          session->Send("go depth " + std::to_string(c.Between(1, 3)));
          break;
        case 3:
          session->Send("go infinite");
          Pause(c.Between(0, 150));
          session->Send("stop");
          break;
        case 4:
          session->Send("go ponder wtime 30000 btime 30000");
          Pause(c.Between(0, 100));
          session->Send(c.Between(0, 1) ? "ponderhit" : "stop");
          break;
        case 5:
          session->Send("go searchmoves " + c.RandomMove());
          Pause(c.Between(0, 50));
          session->Send("stop");
          break;
        case 6:
          session->Send("go wtime 30000 btime 30000");
          Pause(c.Between(0, 60));
          session->Send("ponderhit");  // no ponder search: nothing to answer
          break;
        case 7:
          // The next search starts while the stopped one may still be answered.
          session->Send("go wtime 30000 btime 30000");
          Pause(c.Between(0, 30));
          session->Send("stop");
          session->Send(c.PositionLine());
          session->Send("go movetime 40");
          ++gos;
          owed = 2;
          break;
        default:
          session->Send("go wtime 30000 btime 30000");
          Pause(c.Between(0, 60));
          session->Send("stop");  // may cross the engine's answer
          break;
      }
      std::string move;
      for (; owed > 0; --owed) {
        std::optional<std::string> best = session->WaitFor("bestmove", 15s);
        ASSERT_TRUE(best) << "no bestmove for go kind " << kind;
        move = (*best).substr(9, (*best).find(' ', 9) - 9);
        ASSERT_TRUE(c.Legal(move)) << *best << " after " << c.PositionLine();
      }
      c.moves.push_back(move);
      // A third of the searches, analyses among them, are followed by one
      // new move only: the path where that move alone must start the engine.
      if (!c.Over() && c.Between(0, 2) != 0) c.moves.push_back(c.RandomMove());
    }
    session->Send("stop");  // nothing is owed any more
    EXPECT_EQ(session->ReadLine(700ms), std::nullopt);
    int seen = 0;
    for (const std::string& line : session->Received()) seen += line.rfind("bestmove", 0) == 0;
    EXPECT_EQ(seen, gos);
  }
}

}  // namespace
}  // namespace vantro::test
