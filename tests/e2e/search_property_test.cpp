// Random GUI conversations against an engine that moves at random times:
// every "go" gets exactly one legal "bestmove", and none comes without one,
// also across stray ponderhits, a new search sent right behind a "stop", and
// single new moves after analyses. The sanitizer builds run it too.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "support/conversation.h"
#include "support/fake_engine_script.h"
#include "tests/chess/chess_test_util.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

using testing_chess::IsLegalAfter;

struct Conversation {
  std::mt19937 rng;
  std::string played;  // " e2e4 e7e5 ..."

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  std::string PositionLine() const {
    return "position startpos" + (played.empty() ? "" : " moves" + played);
  }
  MoveList LegalMoves() const {
    MoveList legal;
    MoveGenerator::GenerateLegal(*testing_chess::Replayed(kStartFen, played), legal);
    return legal;
  }
  bool Over() const { return LegalMoves().count == 0 || played.size() > 150 * 5; }
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
        c.played.clear();
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
        ASSERT_TRUE(IsLegalAfter(kStartFen, c.played, move))
            << *best << " after " << c.PositionLine();
      }
      c.played += " " + move;
      // A third of the searches, analyses among them, are followed by one
      // new move only: the path where that move alone must start the engine.
      if (!c.Over() && c.Between(0, 2) != 0) c.played += " " + c.RandomMove();
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
