// A smoke test of the test tools: the fake engine driven directly over pipes
// (without Vantro) plays a legal move and rejects an illegal one.
#include <gtest/gtest.h>

#include <chrono>

#include "support/fake_engine_script.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "tests/chess/chess_test_util.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

TEST(FakeEngine, PlaysALegalMoveAndRejectsAnIllegalOne) {
  TempDir dir;
  FakeEngineScript script;
  script.Play(0, 20, 7).ExitOnQuit().WriteTo(dir);
  PipedProcess engine(FakeEngineBinary(),
                      {"--log", EngineLogPath(dir), "--script", dir.File("script.txt")},
                      dir.Path());
  for (const char* line : {"new", "force", "e2e4", "go"}) engine.Send(line);
  const std::vector<std::string> lines = engine.ReadUntil("move ", 5s);
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(testing_chess::IsLegalAfter(kStartFen, "e2e4", lines.back().substr(5)))
      << lines.back();
  engine.Send("usermove e2e4");  // the pawn has already left e2
  EXPECT_EQ(engine.ReadLine(5s), "Illegal move: e2e4");
  engine.Send("quit");
  EXPECT_EQ(engine.WaitExit(5s), 0);
}

}  // namespace
}  // namespace vantro::test
