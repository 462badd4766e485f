// Starting, negotiating with and stopping a real engine process (the fake).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

// The fake logs what it reads on its own time: wait for the last line
// expected before reading the whole log.
std::vector<std::string> Received(const TempDir& dir, std::string_view last = "quit") {
  WaitForEngineLine(EngineLogPath(dir), last, 3s);
  return ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
}

long long TimeOf(const TempDir& dir, std::string_view line) {
  auto entry = WaitForEngineLine(EngineLogPath(dir), line, 3s);
  return entry ? entry->ms : -1;
}

TEST(EngineStart, OpeningSequenceInOrder) {
  // Features (none: a protocol 1 engine), definition file lines, what the
  // engine must get up to "quit" and how its command line must end.
  const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, const char*>
      cases[] = {
          {"setboard=1 usermove=1 done=1",
           {"InitString=computer\\nrandom", "HashCommand=memory %i", "Hash=32", "Ponder=false",
            "[EXTRAS]", "Threads=cores|spin|1|1|8", "[OPTIONS]", "Threads=4"},
           {"xboard", "protover 2", "accepted setboard", "accepted usermove", "accepted done",
            "new", "level 0 5 0", "computer", "random", "post", "memory 32", "hard", "easy",
            "cores 4", "cores 2", "quit"},
           "script.txt"},
          {nullptr,
           {"Protocol=1", "InitTime=0"},
           {"xboard", "new", "level 0 5 0", "post", "hard", "quit"},
           "script.txt"},
          {"done=1",
           {"HashCommand=-hash %i", "HashOnCommandline=true", "Hash=32", "HashFormula=hash*2"},
           {"xboard", "protover 2", "accepted done", "new", "level 0 5 0", "post", "hard", "quit"},
           " -hash 64"},
      };
  for (const auto& [features, options, received, argsEnd] : cases) {
    SCOPED_TRACE(options[0]);
    TempDir dir;
    FakeEngineScript script;
    if (features != nullptr) script.Features(features);
    script.ExitOnQuit();
    UciSession session(dir.Path(),
                       {WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), options)});
    session.Send("setoption name Threads value 2");
    ASSERT_TRUE(session.Handshake(5s));
    session.Send("quit");
    ASSERT_EQ(session.WaitExit(5s), 0);
    EXPECT_THAT(Received(dir), ElementsAreArray(received));
    EXPECT_THAT(ReadEngineLog(EngineLogPath(dir)).Notes("args"),
                ElementsAre(::testing::EndsWith(argsEnd)));
  }
}

TEST(EngineStart, OpenFeatureListHoldsTheStartAndItsCloseReleasesItAtOnce) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=0").Start("sleep 2500").Features("myname=\"Slow Starter\" done=1");
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir));
  UciSession session(dir.Path(), {def});
  ASSERT_TRUE(session.Handshake(10s));
  long long closed = TimeOf(dir, "accepted myname");
  long long next = TimeOf(dir, "new");
  ASSERT_GE(closed, 0);
  EXPECT_GE(closed, 2400);
  EXPECT_LT(next - closed, 300) << "\"new\" should follow done=1 promptly";
  session.Send("uci");
  EXPECT_EQ(session.ReadLine(2s), "id name Slow Starter");
}

TEST(EngineStart, SlowFeatureListThatNeverClosesIsGivenUpAfterAMinute) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=0");
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), {"InitTime=0"});
  UciSession session(dir.Path(), {def});
  session.Send("isready");
  ASSERT_EQ(session.ReadLine(70s), "readyok");
  long long sent = TimeOf(dir, "protover 2");
  long long next = TimeOf(dir, "new");
  EXPECT_GE(next - sent, 59000);
  EXPECT_LE(next - sent, 62000);
}

TEST(EngineStart, StandardErrorCountsAsOutputAndAnUnfinishedLastLineDoesNot) {
  TempDir dir;
  FakeEngineScript script;
  script.Start("stderr feature myname=\"Err Side\" done=1")
      .On("quit", "print-raw 1-0 {never seen}")
      .ExitOnQuit();
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), {"Logfile=true"});
  UciSession session(dir.Path(), {def});
  ASSERT_TRUE(session.Handshake(5s));
  session.Send("uci");
  EXPECT_EQ(session.ReadLine(2s), "id name Err Side");
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(5s), 0);
  EXPECT_THAT(dir.Read("Vantro.log"), ::testing::Not(HasSubstr("never seen")));
}

TEST(EngineStart, EngineThatExitsByItselfEndsTheAdapter) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1").On("new", "exit");
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir));
  UciSession session(dir.Path(), {def});
  session.Send("isready");
  EXPECT_EQ(session.WaitExit(5s), 0);
}

TEST(EngineStart, TerminateHardKillsAnEngineThatIgnoresQuit) {
  TempDir dir;
  FakeEngineScript script;
  // Busy with "quit" for ten minutes, so it never gets to the end of its input.
  script.Features("done=1").On("quit", "sleep 600000");
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), {"TerminateHard=true"});
  UciSession session(dir.Path(), {def});
  ASSERT_TRUE(session.Handshake(5s));
  auto start = Clock::now();
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(10s), 0);
  auto waited = Clock::now() - start;
  EXPECT_GE(waited, 4500ms);
  EXPECT_LE(waited, 8000ms);
}

TEST(EngineStart, MissingProgramReportsTheErrorAndLogsIt) {
  TempDir dir;
  std::string def =
      WriteDefinitionFile(dir, "x.eng", dir.File("no-such-engine") + " -x", {"Logfile=true"});
  UciSession session(dir.Path(), {def});
  session.Send("isready");
  EXPECT_EQ(session.ReadLine(5s), "info string Error starting engine.");
  EXPECT_EQ(session.WaitExit(5s), 0);
  EXPECT_THAT(dir.Read("Vantro.log"), HasSubstr("S- Error starting server program.\r\n"));
}

TEST(EngineStart, BareProgramNameIsFoundOnPath) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1");
  script.WriteTo(dir);
  ScopedPathPrefix path(std::filesystem::path(FakeEngineBinary()).parent_path().string());
  std::string program = std::filesystem::path(FakeEngineBinary()).stem().string() + " --log " +
                        EngineLogPath(dir) + " --script " + dir.File("script.txt");
  std::string def = WriteDefinitionFile(dir, "x.eng", program);
  UciSession session(dir.Path(), {def});
  EXPECT_TRUE(session.Handshake(5s));
}

TEST(EngineStart, ProgramInADirectoryWithBlanksStartsThere) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1");
  script.WriteTo(dir);
  std::filesystem::path engineDir = std::filesystem::path(dir.Path()) / "Chess Engines" / "One";
  std::filesystem::create_directories(engineDir);
  // Named without its ".exe" on Windows: found with it.
  std::filesystem::path program = engineDir / "fake engine";
  std::filesystem::copy_file(
      FakeEngineBinary(),
      program.string() + std::filesystem::path(FakeEngineBinary()).extension().string());
  std::string def = WriteDefinitionFile(
      dir, "x.eng",
      program.string() + " --log " + EngineLogPath(dir) + " --script " + dir.File("script.txt"));
  UciSession session(dir.Path(), {def});
  ASSERT_TRUE(session.Handshake(5s));
  std::vector<std::string> cwd = ReadEngineLog(EngineLogPath(dir)).Notes("cwd");
  ASSERT_EQ(cwd.size(), 1u);
  EXPECT_EQ(std::filesystem::path(cwd[0]), engineDir);
}

}  // namespace
}  // namespace vantro::test
