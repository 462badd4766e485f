// The adapter's life without an engine: start-up, the definition file name,
// the answers it gives on its own, the log file, and how it ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

#include "support/fake_engine_script.h"
#include "support/full_match.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

TEST(Startup, AnswersOnItsOwnAndEndsOnQuitOnAnEngineErrorAndAtEndOfInput) {
  // Lines sent (none: the input is closed), the first and last line back.
  const std::tuple<std::vector<std::string>, const char*, const char*> cases[] = {
      {{"uci", "quit"}, "id name <empty>", "uciok"},
      {{"isready"}, "info string Error starting engine.", "info string Error starting engine."},
      {{}, nullptr, nullptr},
      // Blank lines and other case get no answer.
      {{"", " \t ", "UCI", "isready now", "ucinewgame", "  uci  ", "quit"},
       "id name <empty>",
       "uciok"},
  };
  for (const auto& [sent, first, last] : cases) {
    SCOPED_TRACE(sent.empty() ? "(end of input)" : sent[0]);
    TempDir dir;
    UciSession session(dir.Path());
    for (const std::string& line : sent) session.Send(line);
    if (sent.empty()) session.CloseInput();
    std::vector<std::string> lines;
    while (std::optional<std::string> line = session.ReadLine(2s)) lines.push_back(*line);
    EXPECT_EQ(session.WaitExit(2s), 0);
    ASSERT_EQ(lines.empty(), first == nullptr);
    if (first == nullptr) continue;
    EXPECT_EQ(lines.front(), first);
    EXPECT_EQ(lines.back(), last);
  }
}

TEST(Startup, ArgumentsJoinIntoOneFileNameAndAMissingOneFallsBack) {
  TempDir dir;
  dir.Write("My Engine.eng", "[ENGINE]\nName=Split Name\n");
  dir.Write("Vantro.eng", "[ENGINE]\nName=Default File\n");
  {
    UciSession session(dir.Path(), {"My", "Engine.eng"});
    session.Send("uci");
    EXPECT_EQ(session.ReadLine(2s), "id name Split Name");
  }
  {
    UciSession session(dir.Path(), {"No Such.eng"});
    session.Send("uci");
    EXPECT_EQ(session.ReadLine(2s), "id name Default File");
  }
}

TEST(Startup, LogFileHasStampedLinesWithCrLfAndGrowsAcrossRuns) {
  TempDir dir;
  for (int run = 0; run < 2; ++run) {
    UciSession session(dir.Path());
    session.Send("setoption name Logfile value true");
    session.Send("uci");
    session.ReadUntil("uciok", 2s);
    session.Send("quit");
    ASSERT_EQ(session.WaitExit(2s), 0);
  }
  const std::string log = dir.Read("Vantro.log");
  std::vector<std::string> lines;
  for (std::size_t pos = 0, end; (end = log.find("\r\n", pos)) != std::string::npos;
       pos = end + 2) {
    lines.push_back(log.substr(pos, end - pos));
  }
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(log.ends_with("\r\n"));
  EXPECT_THAT(lines[0], FullyMatches("0\\.0[0-9][0-9]: \\*\\* Adapter: Vantro 1\\.3B10"));
  int runs = 0;
  for (const std::string& line : lines) {
    EXPECT_THAT(line, FullyMatches("[0-9]+\\.[0-9][0-9][0-9]: [^\r\n]*")) << line;
    runs += line.ends_with("** Adapter: Vantro 1.3B10");
  }
  EXPECT_EQ(runs, 2);
  EXPECT_THAT(log, HasSubstr(": C> uci\r\n"));
  EXPECT_THAT(log, HasSubstr(": C< uciok\r\n"));
}

TEST(Startup, LogfileInTheDefinitionFileLogsFromTheFirstLine) {
  TempDir dir;
  std::string def = WriteDefinitionFile(dir, "x.eng", "<empty>", {"Logfile=true"});
  UciSession session(dir.Path(), {def});
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(2s), 0);
  EXPECT_THAT(dir.Read("Vantro.log"), FullyMatches("0\\.[0-9]+: \\*\\* Adapter: Vantro 1\\.3B10\r\n"
                                                   "[0-9.]+: C> quit\r\n"));
}

}  // namespace
}  // namespace vantro::test
