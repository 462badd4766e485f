// The adapter's life around its engine: start-up, the definition file name,
// the answers it gives on its own, the log file, and how it ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/conversation.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

const std::string kUciAnswerOnly = "#0 (?!id |option |uciok).*";

const Conversation kStarts[] = {
    // Blank lines and other case get no answer.
    {.name = "AnswersUciOnItsOwnAndEndsOnQuit",
     .gui = {"", " \t ", "UCI", "isready now", "ucinewgame", "  uci  ", "quit"},
     .toGui = {kUciAnswerOnly, "id name <empty>", "uciok"},
     .exitWithin = 2s},
    {.name = "EndsAtEndOfInput", .gui = {"@close"}, .toGui = {"#0 .*"}, .exitWithin = 2s},
    {.name = "EndsWithoutAnEngine",
     .gui = {"isready"},
     .toGui = {"#1 .*", "info string Error starting engine."},
     .exitWithin = 2s},
    {.name = "EndsWhenTheProgramIsMissingAndLogsIt",
     .definition = {"Program=no-such-engine -x"},
     .gui = {"isready"},
     .toGui = {"#1 .*", "info string Error starting engine."},
     .toLog = {"S- Error starting server program.\r\n"},
     .exitWithin = 5s},
    {.name = "EndsWhenTheEngineExitsByItself",
     .script = {"start print feature done=1", "on new exit"},
     .gui = {"isready"},
     .exitWithin = 5s},
    // The engine's standard error counts as output; an unfinished last line does not.
    {.name = "ReadsTheEnginesStandardErrorButNoUnfinishedLine",
     .script = {"start stderr feature myname=\"Err Side\" done=1",
                "on quit print-raw 1-0 {never seen}", "on quit exit"},
     .gui = {"@ready", "uci", "@wait uciok", "quit"},
     .toGui = {"id name Err Side"},
     .toLog = {"S< quit", "#0 never seen"},
     .exitWithin = 5s},
};

CONVERSATION_TABLE(Startup, Starts, EndAsScripted, kStarts);

TEST(Startup, ArgumentsJoinIntoOneFileNameAndAMissingOneFallsBack) {
  TempDir dir;
  dir.Write("My Engine.eng", "[ENGINE]\nName=Split Name\n");
  dir.Write("Vantro.eng", "[ENGINE]\nName=Default File\n");
  for (const auto& [args, name] : {std::pair<std::vector<std::string>, const char*>{
                                       {"My", "Engine.eng"}, "id name Split Name"},
                                   {{"No Such.eng"}, "id name Default File"}}) {
    UciSession session(dir.Path(), args);
    session.Send("uci");
    EXPECT_EQ(session.ReadLine(2s), name);
  }
}

// The first run turns the log on from the GUI, the second from the definition
// file; either way it holds everything from the run's first line.
TEST(Startup, LogFileHasStampedLinesWithCrLfFromTheFirstLineAndGrowsAcrossRuns) {
  TempDir dir;
  for (int run = 0; run < 2; ++run) {
    auto session = StartVantro(dir, run == 0 ? "" : "<empty>");
    if (run == 0) session->Send("setoption name Logfile value true");
    session->Send("uci");
    session->ReadUntil("uciok", 2s);
    session->Send("quit");
    ASSERT_EQ(session->WaitExit(2s), 0);
  }
  // Each run opens with the adapter's line; every line has its stamp and CR LF.
  const std::string run =
      "0\\.0[0-9][0-9]: \\*\\* Adapter: Vantro 1\\.3B10\r\n"
      "([0-9]+\\.[0-9][0-9][0-9]: (?!\\*\\* Adapter)[^\r\n]*\r\n)*";
  const std::string log = dir.Read("Vantro.log");
  EXPECT_THAT(log, FullyMatches("(" + run + "){2}"));
  EXPECT_THAT(log, HasSubstr(": C> uci\r\n"));
  EXPECT_THAT(log, HasSubstr(": C< uciok\r\n"));
}

}  // namespace
}  // namespace vantro::test
