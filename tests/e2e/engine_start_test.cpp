// Starting, negotiating with and stopping a real engine process (the fake).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <tuple>

#include "support/conversation.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/test_paths.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Clock = std::chrono::steady_clock;

long long TimeOf(const TempDir& dir, std::string_view line) {
  auto entry = WaitForEngineLine(EngineLogPath(dir), line, 3s);
  return entry ? entry->ms : -1;
}

TEST(EngineStart, OpeningSequenceInOrder) {
  // Features (none: a protocol 1 engine), definition file lines, what the
  // engine must get up to "quit" and how its command line must end.
  const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, const char*>
      cases[] = {
          // Threads=5 comes before the declaration that gives it a meaning.
          {"setboard=1 usermove=1 done=1",
           {"InitString=computer\\nrandom", "HashCommand=memory %i", "Hash=32", "Ponder=false",
            "Threads=5", "[EXTRAS]", "Threads=cores|spin|1|1|8", "[OPTIONS]", "Threads=4"},
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
    auto session = StartVantro(dir, script.ExitOnQuit().WriteTo(dir), options);
    session->Send("setoption name Threads value 2");
    ASSERT_TRUE(session->Handshake(5s));
    session->Send("quit");
    ASSERT_EQ(session->WaitExit(5s), 0);
    WaitForEngineLine(EngineLogPath(dir), "quit", 3s);  // the fake logs on its own time
    EXPECT_THAT(ReadEngineLog(EngineLogPath(dir)).ReceivedLines(), ElementsAreArray(received));
    EXPECT_THAT(ReadEngineLog(EngineLogPath(dir)).Notes("args"),
                ElementsAre(::testing::EndsWith(argsEnd)));
  }
}

// An open feature list holds the start: its close releases it at once, and a
// list that never closes is given up after a minute.
TEST(EngineStart, SlowFeatureListHoldsTheStartUntilItClosesOrAMinutePasses) {
  // What the engine does after "feature done=0" at its start, the definition
  // file lines, and the window in which "new" follows "protover 2".
  const std::tuple<const char*, std::vector<std::string>, long long, long long> cases[] = {
      {"sleep 2500", {}, 2400, 2800},
      {nullptr, {"InitTime=0"}, 59000, 62000},
  };
  for (const auto& [after, options, from, to] : cases) {
    SCOPED_TRACE(after != nullptr ? after : "never closes");
    TempDir dir;
    FakeEngineScript script;
    script.Features("done=0");
    if (after != nullptr) script.Start(after).Features("myname=\"Slow Starter\" done=1");
    auto session = StartVantro(dir, script.WriteTo(dir), options);
    ASSERT_TRUE(session->Handshake(70s));
    const long long held = TimeOf(dir, "new") - TimeOf(dir, "protover 2");
    EXPECT_GE(held, from);
    EXPECT_LE(held, to);
  }
}

TEST(EngineStart, TerminateHardKillsAnEngineThatIgnoresQuit) {
  TempDir dir;
  FakeEngineScript script;
  // Busy with "quit" for ten minutes, so it never gets to the end of its input.
  script.Features("done=1").On("quit", "sleep 600000");
  auto session = StartVantro(dir, script.WriteTo(dir), {"TerminateHard=true"});
  ASSERT_TRUE(session->Handshake(5s));
  auto start = Clock::now();
  session->Send("quit");
  ASSERT_EQ(session->WaitExit(10s), 0);
  auto waited = Clock::now() - start;
  EXPECT_GE(waited, 4500ms);
  EXPECT_LE(waited, 8000ms);
}

// The program found on PATH by its bare name, and in a directory with blanks
// (named without its ".exe" on Windows: found with it), where it starts.
TEST(EngineStart, ProgramIsFoundOnPathAndInADirectoryWithBlanksAndStartsThere) {
  const std::filesystem::path fake = FakeEngineBinary();
  ScopedPathPrefix path(fake.parent_path().string());
  for (bool onPath : {true, false}) {
    SCOPED_TRACE(onPath ? "on PATH" : "in a directory with blanks");
    TempDir dir;
    FakeEngineScript script;
    script.Features("done=1").WriteTo(dir);
    const std::filesystem::path engineDir = std::filesystem::path(dir.Path()) / "Chess Engines";
    std::filesystem::path program = fake.stem();
    if (!onPath) {
      std::filesystem::create_directories(engineDir);
      program = engineDir / "fake engine";
      std::filesystem::copy_file(fake, program.string() + fake.extension().string());
    }
    auto session = StartVantro(dir, program.string() + " --log " + EngineLogPath(dir) +
                                        " --script " + dir.File("script.txt"));
    ASSERT_TRUE(session->Handshake(5s));
    std::vector<std::string> cwd = ReadEngineLog(EngineLogPath(dir)).Notes("cwd");
    ASSERT_EQ(cwd.size(), 1u);
    if (!onPath) {
      EXPECT_EQ(std::filesystem::path(cwd[0]), engineDir);
    }
  }
}

}  // namespace
}  // namespace vantro::test
