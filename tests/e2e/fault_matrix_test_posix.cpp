// Hostile engines and GUIs: whatever either side does, Vantro neither crashes
// nor hangs, answers each "go" at most once (exactly once while the engine
// lives), ends with status 0 and logs everything up to the fault. An engine
// that dies ends Vantro within a second, after one "info string" that names
// the cause.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/fake_engine_script.h"
#include "support/gui_steps.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

const std::string kThinking = "print 3 20 10 300 e7e5 g1f3";
const std::string kFloodLine = std::string(999, 'x');
const std::string kNote = "setoption name Note value " + std::string(300000, 'n');

struct Fault {
  const char* name;
  std::vector<std::string> rules;  // fake engine script lines
  // GUI lines after the handshake, with the steps of PlayGuiSteps.
  std::vector<std::string> gui;
  int bestmoves;          // "bestmove" lines the GUI must get
  std::string best;       // what the last one starts with, when it matters
  bool engineDies;        // Vantro ends without "quit"
  Duration bound;         // from the last GUI step to Vantro's exit
  std::string info;       // what the one "info string" about the engine's end holds
  std::string logged;     // a line the log must hold up to the fault
  bool handshake = true;  // false: the steps do "uci" and "isready" themselves
  std::vector<std::string> options = {};
};

std::ostream& operator<<(std::ostream& out, const Fault& f) {
  return out << f.name;
}

const std::vector<std::string> kGo = {"position startpos moves e2e4", "go wtime 60000 btime 60000"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Fault kFaults[] = {
    {"CrashDuringNegotiation",
     {"start print feature done=0", "start sleep 200", "start signal 9"},
     {"uci", "isready"},
     0,
     "",
     true,
     1500ms,
     "signal 9",
     "S> feature done=0",
     false},
    {"CrashMidSearch",
     {"start print feature done=1", "on go " + kThinking, "on go sleep 100", "on go signal 11"},
     kGo,
     1,
     "bestmove e7e5",
     true,
     1500ms,
     "signal 11",
     "S> 3 20 10 300 e7e5 g1f3"},
    {"CrashWhilePondering",
     {"start print feature done=1", "on go print move e7e5", "on go sleep 300", "on go exit 3"},
     Join(kGo, {"@wait bestmove", "position startpos moves e2e4 e7e5 g1f3",
                "go ponder wtime 60000 btime 60000"}),
     1,
     "bestmove e7e5",
     true,
     1500ms,
     "status 3",
     "S> move e7e5",
     true,
     {"Ponder=true"}},
    {"CrashDuringAnalysis",
     {"start print feature done=1", "on analyze print 1 5 0 10 e7e5", "on analyze sleep 200",
      "on analyze signal 6"},
     {"position startpos moves e2e4", "go infinite"},
     0,
     "",
     true,
     1500ms,
     "signal 6",
     "S> 1 5 0 10 e7e5"},
    {"ExitWhileStopWaits",
     {"start print feature done=1", "on go " + kThinking, "on ? sleep 1500", "on ? exit 1"},
     Join(kGo, {"@pause 100", "stop"}),
     1,
     "bestmove e7e5",
     true,
     2500ms,
     "status 1",
     "S> 3 20 10 300 e7e5 g1f3"},
    {"Hangs",
     {"start print feature done=1", "on go " + kThinking},
     Join(kGo, {"@pause 100", "stop", "@wait bestmove", "quit"}),
     1,
     "bestmove e7e5",
     false,
     1500ms,
     "",
     "C> stop"},
    {"StopsReadingItsInput",
     {"start print feature done=1", "on go " + kThinking, "on go stop-reading"},
     Join(kGo, {"@pause 100", kNote, "stop"}),
     1,
     "bestmove e7e5",
     true,
     7000ms,
     "stopped reading",
     "S> 3 20 10 300 e7e5 g1f3",
     true,
     {"[EXTRAS]", "Note=note %s|string|x"}},
    {"Floods100MB",
     {"start print feature done=1", "on go repeat 100000 " + kFloodLine + "\\n",
      "on go " + kThinking, "on go print move e7e5"},
     Join(kGo, {"@wait bestmove", "quit"}),
     1,
     "bestmove e7e5 ponder g1f3",
     false,
     2000ms,
     "",
     "S> move e7e5"},
    {"WritesMegabyteLines",
     {"start print feature done=1", "on go repeat 1048576 x", "on go print",
      "on go repeat 1048577 y", "on go print", "on go " + kThinking, "on go print move e7e5"},
     Join(kGo, {"@wait bestmove", "quit"}),
     1,
     "bestmove e7e5 ponder g1f3",
     false,
     2000ms,
     "",
     "S> move e7e5"},
    {"WritesBinaryGarbage",
     {"start print feature done=1", "on go print-raw \\x00\\xff\\xfe\\x01 \\x00\\x7f\\n",
      "on go print-raw move\\x00 e2e4\\n", "on go print 2 15 7 200 e7e5\\x00 g1f3",
      "on go print-raw \\x80\\x80\\r\\r\\n", "on go print move e7e5"},
     Join(kGo, {"@wait bestmove", "quit"}),
     1,
     "bestmove e7e5",
     false,
     2000ms,
     "",
     "S> move e7e5"},
    {"GuiEndsInputMidSearch",
     {"start print feature done=1", "mode play", "move-delay 3000 3000", "on quit exit"},
     Join(kGo, {"@pause 100", "@close"}),
     1,
     "bestmove",
     false,
     2000ms,
     "",
     "C> go wtime"},
    {"GuiFloods",
     {"start print feature done=1", "mode play", "move-delay 0 50", "on quit exit"},
     Join({"@flood 20000 isready", "@flood 20000 no such command at all",
           "@flood 1 " + std::string(1500000, 'z')},
          Join(kGo, {"@wait bestmove", "quit"})),
     1,
     "bestmove",
     false,
     2000ms,
     "",
     "C> go wtime"},
};

class HostileFaultMatrix : public ::testing::TestWithParam<Fault> {};

TEST_P(HostileFaultMatrix, EndsSoundly) {
  const Fault& f = GetParam();
  TempDir dir;
  FakeEngineScript script;
  for (const std::string& rule : f.rules) script.Line(rule);
  std::vector<std::string> options = {"Logfile=true"};
  options.insert(options.end(), f.options.begin(), f.options.end());
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), options);
  UciSession session(dir.Path(), {def});
  if (f.handshake) {
    ASSERT_TRUE(session.Handshake(5s));
  }

  ASSERT_TRUE(PlayGuiSteps(session, f.gui, 15s));
  std::optional<int> status = session.WaitExit(f.bound);
  ASSERT_EQ(status, 0) << "no clean exit within the bound";
  std::vector<std::string> best = LinesStartingWith(session, "bestmove");
  std::vector<std::string> infos = LinesStartingWith(session, "info string");
  ASSERT_EQ(best.size(), static_cast<std::size_t>(f.bestmoves));
  if (!best.empty()) {
    EXPECT_THAT(best.back(), ::testing::StartsWith(f.best));
  }
  if (f.engineDies) {
    EXPECT_THAT(infos, ::testing::ElementsAre(::testing::HasSubstr(f.info)));
  }
  std::string log = dir.Read("Vantro.log");
  EXPECT_THAT(log, ::testing::HasSubstr(f.logged));
  if (f.engineDies) {
    EXPECT_THAT(log, ::testing::HasSubstr(f.info));
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, HostileFaultMatrix, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantro::test
