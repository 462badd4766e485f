// GUI input that is long, wrong or out of range, end to end: the engine gets
// the position the GUI's legal moves reach, and the GUI gets well-formed
// lines and a legal move.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "base/text.h"
#include "support/conversation.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "tests/chess/chess_test_util.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
constexpr std::string_view kPawnFen = "4k3/8/8/8/4P3/8/3p4/K7 w - -";

struct GameCase {
  const char* name;
  std::string position;   // empty: no "position" at all; lines apart by '\n'
  std::string_view fen;   // the game's start
  std::string legalPart;  // the moves the engine must get
  int reports;            // times the GUI is told that moves were dropped
};

TEST(InputHygiene, TheEngineSearchesThePositionOfTheLegalMoves) {
  std::string longGame;  // 10 001 plies
  for (int i = 0; i < 2500; ++i) longGame += " g1f3 g8f6 f3g1 f6g8";
  longGame += " e2e4";
  const GameCase cases[] = {
      {"illegal move", "position startpos moves e2e4 e7e5 e1e8 d7d5", kStartFen, "e2e4 e7e5", 1},
      {"illegal move in a growing game",
       "position startpos moves e2e4\nposition startpos moves e2e4 e7e5 e1e8\n"
       "position startpos moves e2e4 e7e5 e1e8 g1f3",
       kStartFen, "e2e4 e7e5", 2},
      {"undecodable move", "position startpos moves e2e4 e2 e7e5", kStartFen, "e2e4", 1},
      {"backward pawn", "position fen " + std::string(kPawnFen) + " moves e4e2 d2d1q", kPawnFen, "",
       1},
      {"no position", "", kStartFen, "", 0},
      {"10 001 plies", "position startpos moves" + longGame, kStartFen, longGame, 0},
  };
  for (const GameCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    FakeEngineScript script;
    auto session = StartVantro(dir, script.Features("done=1").Play().WriteTo(dir));
    ASSERT_TRUE(session->Handshake(5s));
    if (!c.position.empty()) session->Send(c.position);
    session->Send("go wtime 60000 btime 60000");
    std::vector<std::string> lines = session->ReadUntil("bestmove", 10s);
    ASSERT_THAT(lines, Contains(StartsWith("bestmove ")));
    EXPECT_TRUE(testing_chess::IsLegalAfter(c.fen, c.legalPart, GetWord(lines.back(), 2)))
        << lines.back();
    EXPECT_EQ(std::ranges::count_if(lines, [](auto& l) { return l.starts_with("info string"); }),
              c.reports);
    EXPECT_THAT(ReadEngineLog(EngineLogPath(dir)).Notes("illegal"), IsEmpty());
  }
}

}  // namespace
}  // namespace vantro::test
