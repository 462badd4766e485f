// Hostile engines and GUIs: whatever either side does, Vantro neither crashes
// nor hangs, answers each "go" at most once (exactly once while the engine
// lives), ends with status 0 and logs everything up to the fault. An engine
// that dies ends Vantro within a second, after one "info string" that names
// the cause.
#include <gtest/gtest.h>

#include <chrono>

#include "support/conversation.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

const std::string kReady = "start print feature done=1";
const std::string kThinking = "print 3 20 10 300 e7e5 g1f3";
const std::string kFloodLine = std::string(999, 'x');
const std::string kNote = "setoption name Note value " + std::string(300000, 'n');
const std::string kPosition = "position startpos moves e2e4";
const std::string kGo = "go wtime 60000 btime 60000";

const Conversation kFaults[] = {
    {.name = "CrashDuringNegotiation",
     .script = {"start print feature done=0", "start sleep 200", "start signal 9"},
     .gui = {"uci", "isready"},
     .toGui = {"#0 bestmove.*", "#1 info string.*", "#1 info string .*signal 9.*"},
     .toLog = {"S> feature done=0", "signal 9"},
     .exitWithin = 1500ms},
    {.name = "CrashMidSearch",
     .script = {kReady, "on go " + kThinking, "on go sleep 100", "on go signal 11"},
     .gui = {"@ready", kPosition, kGo},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*", "#1 info string.*",
               "#1 info string .*signal 11.*"},
     .toLog = {"S> 3 20 10 300 e7e5 g1f3", "signal 11"},
     .exitWithin = 1500ms},
    {.name = "CrashWhilePondering",
     .script = {kReady, "on go " + kThinking, "on go print move e7e5", "on go sleep 100",
                "on go print 4 25 10 400 b8c6", "on go sleep 200", "on go exit 3"},
     .definition = {"Ponder=true"},
     .gui = {"@ready", kPosition, kGo, "@wait bestmove", "position startpos moves e2e4 e7e5 g1f3",
             "go ponder wtime 60000 btime 60000"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*", "#1 info string.*",
               "#1 info string .*status 3.*"},
     .toLog = {"S> move e7e5", "status 3"},
     .exitWithin = 1500ms},
    {.name = "CrashDuringAnalysis",
     .script = {kReady, "on analyze print 1 5 0 10 e7e5", "on analyze sleep 200",
                "on analyze signal 6"},
     .gui = {"@ready", kPosition, "go infinite"},
     .toGui = {"#0 bestmove.*", "#1 info string.*", "#1 info string .*signal 6.*"},
     .toLog = {"S> 1 5 0 10 e7e5", "signal 6"},
     .exitWithin = 1500ms},
    {.name = "ExitWhileStopWaits",
     .script = {kReady, "on go " + kThinking, "on ? sleep 1500", "on ? exit 1"},
     .gui = {"@ready", kPosition, kGo, "@pause 100", "stop"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*", "#1 info string.*",
               "#1 info string .*status 1.*"},
     .toLog = {"S> 3 20 10 300 e7e5 g1f3", "status 1"},
     .exitWithin = 2500ms},
    {.name = "Hangs",
     .script = {kReady, "on go " + kThinking},
     .gui = {"@ready", kPosition, kGo, "@pause 100", "stop", "@wait bestmove", "quit"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*"},
     .toLog = {"C> stop"},
     .exitWithin = 1500ms},
    {.name = "StopsReadingItsInput",
     .script = {kReady, "on go " + kThinking, "on go stop-reading"},
     .definition = {"[EXTRAS]", "Note=note %s|string|x"},
     .gui = {"@ready", kPosition, kGo, "@pause 100", kNote, "stop"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*", "#1 info string.*",
               "#1 info string .*stopped reading.*"},
     .toLog = {"S> 3 20 10 300 e7e5 g1f3", "stopped reading"},
     .exitWithin = 7000ms},
    {.name = "Floods100MB",
     .script = {kReady, "on go repeat 100000 " + kFloodLine + "\\n", "on go " + kThinking,
                "on go print move e7e5"},
     .gui = {"@ready", kPosition, kGo, "@wait bestmove", "quit"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5 ponder g1f3"},
     .toLog = {"S> move e7e5"},
     .exitWithin = 2000ms},
    {.name = "WritesMegabyteLines",
     .script = {kReady, "on go repeat 1048576 x", "on go print", "on go repeat 1048577 y",
                "on go print", "on go " + kThinking, "on go print move e7e5"},
     .gui = {"@ready", kPosition, kGo, "@wait bestmove", "quit"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5 ponder g1f3"},
     .toLog = {"S> move e7e5"},
     .exitWithin = 2000ms},
    {.name = "WritesBinaryGarbage",
     .script = {kReady, "on go print-raw \\x00\\xff\\xfe\\x01 \\x00\\x7f\\n",
                "on go print-raw move\\x00 e2e4\\n", "on go print 2 15 7 200 e7e5\\x00 g1f3",
                "on go print-raw \\x80\\x80\\r\\r\\n", "on go print move e7e5"},
     .gui = {"@ready", kPosition, kGo, "@wait bestmove", "quit"},
     .toGui = {"#1 bestmove.*", "#1 bestmove e7e5.*"},
     .toLog = {"S> move e7e5"},
     .exitWithin = 2000ms},
    {.name = "GuiEndsInputMidSearch",
     .script = {kReady, "mode play", "move-delay 3000 3000", "on quit exit"},
     .gui = {"@ready", kPosition, kGo, "@pause 100", "@close"},
     .toGui = {"#1 bestmove.*"},
     .toLog = {"C> go wtime"},
     .exitWithin = 2000ms},
    {.name = "GuiFloods",
     .script = {kReady, "mode play", "move-delay 0 50", "on quit exit"},
     .gui = {"@ready", "@flood 20000 isready", "@flood 20000 no such command at all",
             "@flood 1 " + std::string(1500000, 'z'), kPosition, kGo, "@wait bestmove", "quit"},
     .toGui = {"#1 bestmove.*"},
     .toLog = {"C> go wtime"},
     .exitWithin = 2000ms},
};

CONVERSATION_TABLE(Faults, HostileFaultMatrix, EndsSoundly, kFaults);

}  // namespace
}  // namespace vantro::test
