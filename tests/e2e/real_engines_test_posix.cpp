// Debian's xboard engines through the files "vantro --probe" writes for them,
// and the faults of single engines through their ready definition files in
// examples/. (The client stage, tests/e2e/client/, plays every example: every
// kind of go, fixed times, a mate after a depth limit, pondering and games.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "base/text.h"
#include "settings/definition_file.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"
#include "tests/chess/chess_test_util.h"
#include "tests/platform/platform_test_util_posix.h"
#include "tests/settings/recording_actions.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMiddleGame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 0 9";

std::string ExampleFile(const char* engine) {
  return SourceDir() + "/examples/" + engine + ".eng";
}

class ProbedEngine : public ::testing::TestWithParam<const char*> {};

// Every "go" of a short game from a position out of every opening book (some
// engines take "setboard" in force mode only) gets a legal "bestmove", and so
// does a stopped "go infinite".
TEST_P(ProbedEngine, ProbedDefinitionFilePlaysLikeTheExample) {
  Settings example;
  EngineOptionList options;
  RecordingActions actions(example);
  ReadDefinitionFile(ExampleFile(GetParam()), example, options, actions);
  TempDir dir;
  const VantroRun probe = Probe(dir, example.program);
  ASSERT_EQ(probe.status, 0) << probe.err;
  ASSERT_THAT(probe.out,
              ::testing::HasSubstr("\nProgram=" + std::string(GetWord(example.program, 1))));
  UciSession session(dir.Path(), {dir.Write("probed.eng", probe.out)});
  ASSERT_TRUE(session.Handshake(15s));
  std::string played;
  for (const char* go :
       {"go wtime 20000 btime 20000", "go movetime 300", "go depth 3", "go infinite"}) {
    session.Send(std::string("position fen ") + kMiddleGame + " moves" + played);
    session.Send(go);
    if (std::string_view(go) == "go infinite") {
      std::this_thread::sleep_for(300ms);
      session.Send("stop");
    }
    std::optional<std::string> best = session.WaitFor("bestmove", 20s);
    ASSERT_TRUE(best) << go;
    const std::string_view move = GetWord(*best, 2);
    ASSERT_TRUE(testing_chess::IsLegalAfter(kMiddleGame, played, move))
        << *best << " after" << played;
    played += " " + std::string(move);
  }
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(10s), 0);
}

bool Gone(int pid) {
  for (int i = 0; i < 30; ++i) {
    if (kill(pid, 0) != 0) return true;
    std::this_thread::sleep_for(100ms);
  }
  return false;
}

// Sjeng outlives the end of its input. No engine may outlive Vantro: not
// after "quit", not when Vantro is killed.
TEST(RealSjeng, EndsWithVantroAfterQuitAndWhenVantroIsKilled) {
  for (bool killed : {false, true}) {
    TempDir dir;
    UciSession session(dir.Path(), {ExampleFile("sjeng")});
    ASSERT_TRUE(session.Handshake(15s));
    int engine = ChildOf(session.Pid());
    ASSERT_GT(engine, 0);
    session.Send("position startpos");
    session.Send("go infinite");
    std::this_thread::sleep_for(200ms);
    if (killed) {
      kill(session.Pid(), SIGKILL);
    } else {
      session.Send("quit");
    }
    session.WaitExit(10s);
    EXPECT_TRUE(Gone(engine)) << (killed ? "killed" : "quit");
    if (!Gone(engine)) kill(engine, SIGKILL);
  }
}

// GNU Chess reads its first lines only once more input comes and drops
// lines that came together before it is ready: every start must work. (After
// an analysis "exit" alone leaves its xboard mode: the client stage plays a
// search after an analysis with every example.)
TEST(RealGnuChess, StartsEveryTime) {
  for (int start = 0; start < 20; ++start) {
    TempDir dir;
    UciSession session(dir.Path(), {ExampleFile("gnuchess")});
    ASSERT_TRUE(session.Handshake(15s)) << "start " << start;
    session.Send(std::string("position fen ") + kMiddleGame);
    session.Send("go wtime 3000 btime 3000");
    ASSERT_TRUE(session.WaitFor("bestmove", 4s)) << "start " << start;
    session.Send("quit");
    EXPECT_EQ(session.WaitExit(10s), 0);
  }
}

// Left out: Dreamer, whose example works around what no engine announces (no
// "st", "setboard" only in force mode, "?" refused), and GNU Chess, which at
// its start now answers at once, now loses whole seconds of input.
INSTANTIATE_TEST_SUITE_P(Debian, ProbedEngine,
                         ::testing::Values("fairymax", "hoichess", "phalanx", "sjeng",
                                           "stockfish"));

}  // namespace
}  // namespace vantro::test
