// Options that reach the desktop and the scheduler of a POSIX system: the
// help page's opener and the priority handed to the engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/fake_engine_script.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"
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

// The page in the working directory, else the one installed beside the program.
TEST(Options, HelpButtonOpensThePageWithTheDesktopOpener) {
  for (bool installed : {false, true}) {
    SCOPED_TRACE(installed ? "installed" : "in the working directory");
    TempDir dir;
    std::string opener =
        dir.Write("xdg-open", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/opened\"\n");
    chmod(opener.c_str(), 0755);
    ScopedPathPrefix path(dir.Path());
    for (const char* folder : {"usr/bin", "usr/share/doc/vantro", "work"}) {
      std::filesystem::create_directories(dir.File(folder));
    }
    std::filesystem::copy_file(VantroBinary(), dir.File("usr/bin/vantro"));
    const std::string installedPage = "usr/share/doc/vantro/Vantro.html";
    dir.Write(installed ? installedPage : "work/Vantro.html", "<html></html>");
    PipedProcess session(dir.File("usr/bin/vantro"), {}, dir.File("work"));
    session.Send("setoption name Help value x");  // an engine option named Help: none
    session.Send("setoption name help");
    session.Send("quit");
    ASSERT_EQ(session.WaitExit(2s), 0);
    for (int i = 0; i < 50 && dir.Read("opened").empty(); ++i) std::this_thread::sleep_for(20ms);
    EXPECT_EQ(dir.Read("opened"), (installed ? dir.File(installedPage) : "Vantro.html") + "\n");
  }
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
