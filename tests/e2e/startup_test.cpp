// The adapter's life without an engine: start-up, the definition file name,
// the answers it gives on its own, the log file, and how it ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/fake_engine_script.h"
#include "support/full_match.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(Startup, AnswersUciWithoutDefinitionFileAndEndsOnQuit) {
  TempDir dir;
  UciSession session(dir.Path());
  session.Send("uci");
  std::vector<std::string> lines = session.ReadUntil("uciok", 2s);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "id name <empty>");
  EXPECT_EQ(lines[1], "id author <empty>");
  EXPECT_EQ(lines.back(), "uciok");
  EXPECT_EQ(lines.size(), 2u + 28u + 1u);
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(2s), 0);
}

TEST(Startup, IsReadyWithoutProgramReportsTheErrorAndEnds) {
  TempDir dir;
  UciSession session(dir.Path());
  session.Send("isready");
  EXPECT_EQ(session.ReadLine(2s), "info string Error starting engine.");
  EXPECT_EQ(session.WaitExit(2s), 0);
  EXPECT_THAT(session.Received(), ::testing::Not(::testing::Contains("readyok")));
}

TEST(Startup, ClosingStandardInputEndsTheAdapter) {
  TempDir dir;
  UciSession session(dir.Path());
  session.CloseInput();
  EXPECT_EQ(session.WaitExit(2s), 0);
}

TEST(Startup, BlankLinesAndOtherCaseGetNoAnswer) {
  TempDir dir;
  UciSession session(dir.Path());
  session.Send("");
  session.Send(" \t ");
  session.Send("UCI");
  session.Send("isready now");
  session.Send("ucinewgame");
  EXPECT_TRUE(session.NoLineWithin(300ms));
  session.Send("  uci  ");
  EXPECT_EQ(session.ReadLine(2s), "id name <empty>");
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
  std::string log = dir.Read("Vantro.log");
  std::vector<std::string> lines;
  for (std::size_t pos = 0, end; (end = log.find("\r\n", pos)) != std::string::npos;
       pos = end + 2) {
    lines.push_back(log.substr(pos, end - pos));
  }
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(log.size(), [&] {
    std::size_t n = 0;
    for (const auto& l : lines) n += l.size() + 2;
    return n;
  }()) << "every line ends in CR LF";
  EXPECT_THAT(lines[0], FullyMatches("0\\.0[0-9][0-9]: \\*\\* Adapter: Vantro 1\\.3B10"));
  int runs = 0;
  for (const std::string& line : lines) {
    EXPECT_THAT(line, FullyMatches("[0-9]+\\.[0-9][0-9][0-9]: .*")) << line;
    if (line.find("** Adapter: Vantro 1.3B10") != std::string::npos) ++runs;
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
