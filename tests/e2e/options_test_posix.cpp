// The priority class as a POSIX scheduler sees it: a niced adapter hands its
// class to the engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <sstream>

#include "support/fake_engine_script.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "tests/platform/platform_test_util_posix.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

// Field 19 of /proc/<pid>/stat.
int NiceOf(int pid) {
  const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 19; ++i) fields >> field;
  return std::stoi(field);
}

TEST(Options, NicedAdapterRunsTheEngineAtTheMappedClass) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1").ExitOnQuit();
  const std::string program = script.WriteTo(dir);
  const std::string def = dir.Write("x.eng", "[OPTIONS]\nProgram=" + program + "\nLogfile=true\n");
  PipedProcess session("/usr/bin/nice", {"-n", "10", VantroBinary(), def}, dir.Path());
  session.Send("isready");
  ASSERT_EQ(session.WaitFor("readyok", 5s), "readyok");
  EXPECT_THAT(dir.Read("Vantro.log"), HasSubstr("S- Priority class set to 16384\r\n"));
  const int engine = ChildOf(session.Pid());
  ASSERT_GT(engine, 0);
  EXPECT_EQ(NiceOf(engine), 10);
  // Vantro itself returns to normal where it may raise its priority.
  if (geteuid() == 0) {
    EXPECT_EQ(NiceOf(session.Pid()), 0);
  }
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(5s), 0);
}

}  // namespace
}  // namespace vantro::test
