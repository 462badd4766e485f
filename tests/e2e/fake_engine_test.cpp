// Tests of the test tools themselves: the fake engine's script parser, and
// the fake engine driven directly over pipes (without Vantro).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "chess/board.h"
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
using fake::ParseScript;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct ActionCase {
  std::string line;
  Action::Kind kind;
  std::string text;
  int number;
  bool once;
};

TEST(FakeEngineScriptParser, ReadsEveryActionOfAnOnRule) {
  const ActionCase cases[] = {
      {"on go print move e2e4", Action::Kind::kPrint, "move e2e4", 0, false},
      {"on go print   two  blanks ", Action::Kind::kPrint, "two  blanks", 0, false},
      {"on ? print-raw move\\r", Action::Kind::kPrintRaw, "move\r", 0, false},
      {"on go print a\\nb\\t\\\\\\x41", Action::Kind::kPrint, "a\nb\t\\A", 0, false},
      {"on * stderr oops", Action::Kind::kStderr, "oops", 0, false},
      {"on go sleep 250", Action::Kind::kSleep, "", 250, false},
      {"on quit exit", Action::Kind::kExit, "", 0, false},
      {"on quit exit 3", Action::Kind::kExit, "", 3, false},
      {"on ? ignore", Action::Kind::kIgnore, "", 0, false},
      {"on go once print move e2e4", Action::Kind::kPrint, "move e2e4", 0, true},
  };
  for (const ActionCase& c : cases) {
    SCOPED_TRACE(c.line);
    const fake::Script script = ParseScript(c.line);
    ASSERT_TRUE(script.errors.empty()) << script.errors.front();
    ASSERT_EQ(script.rules.size(), 1u);
    const Action& action = script.rules[0].action;
    EXPECT_EQ(action.kind, c.kind);
    EXPECT_EQ(action.text, c.text);
    EXPECT_EQ(action.number, c.number);
    EXPECT_EQ(action.once, c.once);
  }
}

TEST(FakeEngineScriptParser, KeepsRulesInFileOrderAndSkipsCommentsAndBlankLines) {
  const fake::Script script = ParseScript(
      "# feature lines with a delay\n"
      "start print feature done=0\n"
      "\n"
      "start sleep 100\n"
      "   # indented comment\n"
      "on # print cleared\n"
      "on go print first\n"
      "on go print second\n");
  ASSERT_TRUE(script.errors.empty());
  ASSERT_EQ(script.startActions.size(), 2u);
  EXPECT_EQ(script.startActions[0].text, "feature done=0");
  EXPECT_EQ(script.startActions[1].number, 100);
  ASSERT_EQ(script.rules.size(), 3u);
  EXPECT_EQ(script.rules[0].word, "#");
  EXPECT_EQ(script.rules[1].action.text, "first");
  EXPECT_EQ(script.rules[2].action.text, "second");
  EXPECT_FALSE(script.playMode);
}

TEST(FakeEngineScriptParser, ReadsThePlayModeSettings) {
  const fake::Script script =
      ParseScript("mode play\nmove-delay 10 200\nseed 42\nmove-format san\n");
  ASSERT_TRUE(script.errors.empty());
  EXPECT_TRUE(script.playMode);
  EXPECT_EQ(script.minDelayMs, 10);
  EXPECT_EQ(script.maxDelayMs, 200);
  EXPECT_EQ(script.seed, 42u);
  EXPECT_EQ(script.moveFormat, fake::MoveFormat::kSan);
}

TEST(FakeEngineScriptParser, ReportsEachBadLineWithItsNumberAndKeepsTheGoodOnes) {
  const char* badLines[] = {
      "prnt hello",       "on go",           "on go shout x",
      "on go sleep soon", "on go sleep -5",  "on quit exit 256",
      "start once",       "mode think",      "move-delay 200 100",
      "move-delay 5",     "seed x",          "on go print bad \\q escape",
      "on go print \\x4", "on go ignore me", "move-format long",
  };
  for (const char* line : badLines) {
    SCOPED_TRACE(line);
    const fake::Script script = ParseScript(std::string("on go print ok\n") + line);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_THAT(script.errors[0], StartsWith("line 2: "));
    EXPECT_EQ(script.rules.size() + script.startActions.size(), 1u);
  }
}

TEST(FakeEngineScriptParser, SubstitutesTheReceivedLineAndItsWords) {
  EXPECT_EQ(fake::SubstituteWords("pong $2", "ping 17"), "pong 17");
  EXPECT_EQ(fake::SubstituteWords("[$0] [$3] $$1", "usermove e2e4"), "[usermove e2e4] [] $1");
}

// Reads the fake's output directly, as Vantro would.
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
    EXPECT_EQ(process->StartError(), "");
    return process;
  }
  FakeEngineLog Log() const { return ReadEngineLog(EngineLogPath(dir_)); }

  TempDir dir_;
};

TEST_F(FakeEngineProcess, PrintsItsStartLinesWithTheScriptedDelay) {
  auto engine = Start(
      FakeEngineScript().Features("done=0").Start("sleep 300").Features("myname=\"Fake\" done=1"));
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(engine->ReadLine(5s), "feature done=0");
  EXPECT_EQ(engine->ReadLine(5s), "feature myname=\"Fake\" done=1");
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 250ms);
  const std::vector<EngineLogEntry> printed = Log().notes;
  std::vector<long long> printTimes;
  for (const EngineLogEntry& note : printed) {
    if (note.text.starts_with("out ")) printTimes.push_back(note.ms);
  }
  ASSERT_EQ(printTimes.size(), 2u);
  EXPECT_GE(printTimes[1] - printTimes[0], 300);
}

TEST_F(FakeEngineProcess, LogsEveryReceivedLineWithItsArrivalTimeAndItsArguments) {
  // The rule sleeps, so a late time stamp would show that lines are logged when
  // handled instead of when they arrive.
  auto engine =
      Start(FakeEngineScript().Start("print up").On("xboard", "sleep 1000"), {"-extra", "arg"});
  ASSERT_EQ(engine->ReadLine(5s), "up");  // lines sent earlier would wait in the pipe
  engine->Send("xboard");
  std::this_thread::sleep_for(300ms);
  engine->SendRaw("protover 2\r\n@odd\n");
  const auto odd = WaitForEngineLine(EngineLogPath(dir_), "@odd", 5s);
  ASSERT_TRUE(odd);
  const FakeEngineLog log = Log();
  ASSERT_THAT(log.ReceivedLines(), ElementsAre("xboard", "protover 2", "@odd"));
  const long long gap = log.received[1].ms - log.received[0].ms;
  EXPECT_GE(gap, 250);
  EXPECT_LT(gap, 900);
  EXPECT_THAT(log.Notes("args"),
              ElementsAre(FakeEngineBinary() + " --log " + EngineLogPath(dir_) + " --script " +
                          dir_.File("script.txt") + " -extra arg"));
  EXPECT_THAT(log.Notes("cwd"), ElementsAre(dir_.Path()));
}

TEST_F(FakeEngineProcess, IgnoresQuitWithoutARuleButEndsAtEndOfInput) {
  auto engine = Start(FakeEngineScript().On("ping", "print pong $2"));
  engine->Send("quit");
  engine->Send("ping 5");
  EXPECT_EQ(engine->ReadLine(5s), "pong 5");
  EXPECT_FALSE(engine->Exited());
  engine->CloseInput();
  EXPECT_EQ(engine->WaitExit(5s), 0);
  EXPECT_EQ(WaitForEngineExit(EngineLogPath(dir_), 1s), 0);
}

TEST_F(FakeEngineProcess, ExitsWithTheScriptedStatusOnQuit) {
  auto engine = Start(FakeEngineScript().On("quit", "exit 3"));
  engine->Send("quit");
  EXPECT_EQ(engine->WaitExit(5s), 3);
  EXPECT_EQ(WaitForEngineExit(EngineLogPath(dir_), 1s), 3);
}

TEST_F(FakeEngineProcess, RefusesToRunAFaultyScript) {
  dir_.Write("script.txt", "on go prnt move e2e4\n");
  PipedProcess engine(FakeEngineBinary(),
                      {"--log", EngineLogPath(dir_), "--script", dir_.File("script.txt")},
                      dir_.Path());
  EXPECT_EQ(engine.WaitExit(5s), 2);
  EXPECT_THAT(engine.Stderr(), HasSubstr("line 1: unknown action 'prnt'"));
}

// The move after "move " in `line`, checked to be legal on `board` and made on it.
::testing::AssertionResult MakesLegalMove(Board& board, const std::optional<std::string>& line) {
  if (!line || !line->starts_with("move ")) {
    return ::testing::AssertionFailure() << "no move line: " << line.value_or("(nothing)");
  }
  MoveInfo move = ParseMove(board, line->substr(5));
  if (move.Empty() || !board.MakeMove(move, true)) {
    return ::testing::AssertionFailure() << "illegal: " << *line << " on " << board.ToFEN();
  }
  return ::testing::AssertionSuccess();
}

TEST_F(FakeEngineProcess, PlaysLegalMovesAndRejectsIllegalOnes) {
  auto engine = Start(FakeEngineScript().Play(0, 20, 7));
  Board board;
  board.SetFEN("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  engine->Send("new");
  engine->Send("e2e4");
  MoveInfo e4 = ParseMove(board, "e2e4");
  ASSERT_TRUE(board.MakeMove(e4, true));
  EXPECT_TRUE(MakesLegalMove(board, engine->WaitFor("move ", 5s)));

  engine->Send("usermove e2e4");  // the pawn has already left e2
  EXPECT_EQ(engine->WaitFor("Illegal move", 5s), "Illegal move: e2e4");
  EXPECT_THAT(Log().Notes("illegal"), ElementsAre("e2e4"));

  // "force" keeps it from answering; "go" makes it play the side to move.
  engine->Send("force");
  engine->Send("Nf3");
  MoveInfo nf3 = ParseMove(board, "Nf3");
  ASSERT_TRUE(board.MakeMove(nf3, true));
  EXPECT_TRUE(engine->NoLineWithin(200ms));
  engine->Send("go");
  EXPECT_TRUE(MakesLegalMove(board, engine->WaitFor("move ", 5s)));
}

TEST_F(FakeEngineProcess, TakesAPositionFromEditModeKeepingTheSideToMove) {
  auto engine = Start(FakeEngineScript().Play());
  // After e2e4 black is to move; the edited position leaves black one legal move.
  for (const char* line :
       {"new", "force", "e2e4", "edit", "#", "Kf7", "Pg6", "c", "Kh8", "Pa6", ".", "go"}) {
    engine->Send(line);
  }
  EXPECT_EQ(engine->WaitFor("move ", 5s), "move a6a5");
}

TEST_F(FakeEngineProcess, MovesAtOnceOnMoveNowDuringALongDelay) {
  auto engine = Start(FakeEngineScript().Play(60000, 60000));
  engine->Send("go");
  EXPECT_TRUE(engine->NoLineWithin(200ms));
  engine->Send("?");
  const auto lines = engine->ReadUntil("move ", 5s);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], ::testing::MatchesRegex("[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ .*"));
  EXPECT_THAT(lines[1], StartsWith("move "));
}

}  // namespace
}  // namespace vantro::test
