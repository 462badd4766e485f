// Tests of the test tools themselves: the fake engine's script parser, and
// the fake engine driven directly over pipes (without Vantro).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "chess/move_text.h"
#include "fake_engine/script.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using fake::Action;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;
using ::testing::Optional;
using ::testing::StartsWith;

TEST(FakeEngineScriptParser, ReadsEachLineOrReportsItWithItsNumber) {
  struct Case {
    std::string line;
    Action::Kind kind;
    std::string text;
    int number;
  };
  const Case good[] = {
      {"on go print   two  blanks ", Action::Kind::kPrint, "two  blanks", 0},
      {"on ? print-raw move\\r", Action::Kind::kPrintRaw, "move\r", 0},
      {"on go print a\\nb\\t\\\\", Action::Kind::kPrint, "a\nb\t\\", 0},
      {"on * stderr oops", Action::Kind::kStderr, "oops", 0},
      {"on go sleep 250", Action::Kind::kSleep, "", 250},
      {"on quit exit", Action::Kind::kExit, "", 0},
      {"on quit exit 3", Action::Kind::kExit, "", 3},
      {"on ? ignore", Action::Kind::kIgnore, "", 0},
  };
  for (const Case& c : good) {
    SCOPED_TRACE(c.line);
    const fake::Script script = fake::ParseScript("# comment\n\n" + c.line);
    ASSERT_TRUE(script.errors.empty()) << script.errors.front();
    ASSERT_EQ(script.rules.size(), 1u);
    EXPECT_EQ(script.rules[0].action.kind, c.kind);
    EXPECT_EQ(script.rules[0].action.text, c.text);
    EXPECT_EQ(script.rules[0].action.number, c.number);
  }
  const fake::Script play =
      fake::ParseScript("start sleep 5\nmode play\nmove-delay 10 200\nseed 42");
  EXPECT_TRUE(play.errors.empty() && play.playMode && play.startActions.size() == 1u);
  EXPECT_EQ(play.maxDelayMs, 200);
  EXPECT_EQ(play.seed, 42u);
  const fake::Script instant = fake::ParseScript("mode instant\nthink-lines 3");
  EXPECT_TRUE(instant.errors.empty() && instant.playMode && instant.instant);
  EXPECT_EQ(instant.thinkLines, 3);
  for (const char* bad : {"prnt hello", "on go", "on go sleep -5", "on quit exit 256", "mode think",
                          "move-delay 200 100", "seed x", "on go print \\q", "think-lines x"}) {
    SCOPED_TRACE(bad);
    const fake::Script script = fake::ParseScript(std::string("on go print ok\n") + bad);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_THAT(script.errors[0], ::testing::StartsWith("line 2: "));
  }
}

// The fake started directly, its output read as Vantro would read it.
class FakeEngineProcess : public ::testing::Test {
 protected:
  std::unique_ptr<PipedProcess> Start(const FakeEngineScript& script,
                                      std::vector<std::string> extraArgs = {}) {
    script.WriteTo(dir_);
    std::vector<std::string> args = {"--log", EngineLogPath(dir_), "--script",
                                     dir_.File("script.txt")};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    auto process = std::make_unique<PipedProcess>(FakeEngineBinary(), args, dir_.Path());
    process->ShowOnFailure(EngineLogPath(dir_));
    return process;
  }
  TempDir dir_;
};

TEST_F(FakeEngineProcess, DelaysStartLinesAndLogsLinesWithArrivalTimeArgumentsAndDirectory) {
  auto engine = Start(FakeEngineScript()
                          .Features("done=0")
                          .Start("sleep 300")
                          .Start("print-raw up-")
                          .Features("done=1")
                          .On("xboard", "sleep 1000"),
                      {"-extra", "arg"});
  EXPECT_EQ(engine->ReadLine(5s), "feature done=0");
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(engine->ReadLine(5s), "up-feature done=1");
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 250ms);
  // The rule sleeps: a late time stamp would show that lines are logged when
  // handled instead of when they arrive.
  engine->Send("xboard");
  std::this_thread::sleep_for(300ms);
  engine->Send("protover 2");
  engine->Send("@odd");
  ASSERT_TRUE(WaitForEngineLine(EngineLogPath(dir_), "@odd", 5s));
  const FakeEngineLog log = ReadEngineLog(EngineLogPath(dir_));
  ASSERT_THAT(log.ReceivedLines(), ElementsAre("xboard", "protover 2", "@odd"));
  const long long gap = log.received[1].ms - log.received[0].ms;
  EXPECT_GE(gap, 250);
  EXPECT_LT(gap, 900);
  EXPECT_THAT(log.Notes("args"),
              ElementsAre(FakeEngineBinary() + " --log " + EngineLogPath(dir_) + " --script " +
                          dir_.File("script.txt") + " -extra arg"));
  EXPECT_THAT(log.Notes("cwd"), ElementsAre(dir_.Path()));
}

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
    EXPECT_THAT(lines[lines.size() - 2], ::testing::MatchesRegex("[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ " +
                                                                 move + " [a-h1-8qrbn]+"));
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

TEST_F(FakeEngineProcess, MovesAtOnceOnMoveNowDuringALongDelay) {
  auto engine = Start(FakeEngineScript().Play(60000, 60000));
  engine->Send("go");
  EXPECT_TRUE(engine->NoLineWithin(200ms));
  engine->Send("?");
  EXPECT_EQ(engine->ReadUntil("move ", 5s).size(), 2u);
}

// Instant mode: its thinking lines at once, the move at once or on "?".
TEST_F(FakeEngineProcess, InstantModeThinksAtOnceAndMovesAtOnceOrOnMoveNow) {
  for (int delay : {0, 60000}) {
    SCOPED_TRACE(delay);
    auto engine =
        Start(FakeEngineScript()
                  .Add("mode instant")
                  .Add("think-lines 3")
                  .Add("move-delay " + std::to_string(delay) + " " + std::to_string(delay)));
    engine->Send("go");
    for (int line = 0; line < 3; ++line)
      EXPECT_THAT(engine->ReadLine(5s), Optional(MatchesRegex("[1-3] .*")));
    if (delay > 0) {
      EXPECT_TRUE(engine->NoLineWithin(200ms));
      engine->Send("?");
    }
    EXPECT_THAT(engine->ReadLine(5s), Optional(StartsWith("move ")));
  }
}

}  // namespace
}  // namespace vantro::test
