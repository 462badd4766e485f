// A smoke test of the test tools: the fake engine driven directly over pipes
// (without Vantro) plays legal moves and rejects illegal ones.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "chess/move_text.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/full_match.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

// The fake started directly, its output read as Vantro would read it.
class FakeEngineProcess : public ::testing::Test {
 protected:
  std::unique_ptr<PipedProcess> Start(const FakeEngineScript& script) {
    script.WriteTo(dir_);
    std::vector<std::string> args = {"--log", EngineLogPath(dir_), "--script",
                                     dir_.File("script.txt")};
    auto process = std::make_unique<PipedProcess>(FakeEngineBinary(), args, dir_.Path());
    process->ShowOnFailure(EngineLogPath(dir_));
    return process;
  }
  TempDir dir_;
};

TEST_F(FakeEngineProcess, PlaysLegalMovesAndRejectsIllegalOnes) {
  auto engine = Start(FakeEngineScript().Play(0, 20, 7).On("quit", "exit 3"));
  Board board;
  board.SetFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  // Checks that the move it gives is legal and that the thinking line before
  // it holds the move and a reply, then makes the move.
  auto play = [&board](const std::vector<std::string>& lines) {
    ASSERT_GE(lines.size(), 2u);
    ASSERT_TRUE(lines.back().starts_with("move "));
    const std::string move = lines.back().substr(5);
    EXPECT_THAT(lines[lines.size() - 2],
                FullyMatches("[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ " + move + " [a-h1-8qrbn]+"));
    MoveInfo info = ParseMove(board, move);
    ASSERT_FALSE(info.Empty()) << move << " on " << board.ToFEN();
    board.MakeMove(info, false);
  };
  for (const char* line : {"new", "force", "e2e4", "go"}) engine->Send(line);
  MoveInfo e4 = ParseMove(board, "e2e4");
  board.MakeMove(e4, false);
  play(engine->ReadUntil("move ", 5s));

  engine->Send("usermove e2e4");  // the pawn has already left e2
  EXPECT_EQ(engine->ReadLine(5s), "Illegal move: e2e4");
  engine->Send("force");
  engine->Send("g1f3");
  EXPECT_TRUE(engine->NoLineWithin(200ms));  // no answer in force mode
  engine->Send("undo");
  engine->Send("go");  // white to move again, on the board before g1f3
  play(engine->ReadUntil("move ", 5s));

  const std::string kings = "4k3/8/8/8/8/8/8/4K3 w - - 0 1";
  engine->Send("setboard " + kings);
  engine->Send("analyze");
  EXPECT_TRUE(engine->WaitFor("1 ", 5s));
  engine->Send("exit");
  engine->Send("go");
  board.SetFEN(kings);
  play(engine->ReadUntil("move ", 5s));
  engine->Send("quit");
  EXPECT_EQ(engine->WaitExit(5s), 3);
}

}  // namespace
}  // namespace vantro::test
