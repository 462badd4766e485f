// Options that reach the desktop and the scheduler of a POSIX system: the
// help page's opener and the priority handed to the engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/fake_engine_script.h"
#include "support/piped_process.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

// Field 19 of /proc/<pid>/stat.
int NiceOf(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 19; ++i) fields >> field;
  return std::stoi(field);
}

TEST(Options, HelpButtonOpensThePageWithTheDesktopOpener) {
  TempDir dir;
  std::string opener =
      dir.Write("xdg-open", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/opened\"\n");
  chmod(opener.c_str(), 0755);
  ScopedPathPrefix path(dir.Path());
  dir.Write("Vantro.html", "<html></html>");
  UciSession session(dir.Path());
  session.Send("setoption name Help value x");  // an engine option named Help: none
  session.Send("setoption name help");
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(2s), 0);
  for (int i = 0; i < 50 && dir.Read("opened").empty(); ++i) std::this_thread::sleep_for(20ms);
  EXPECT_EQ(dir.Read("opened"), "Vantro.html\n");
}

TEST(Options, HelpOpensTheInstalledPageWhenTheWorkingDirectoryHasNone) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("usr/bin"));
  std::filesystem::create_directories(dir.File("usr/share/doc/vantro"));
  std::filesystem::create_directories(dir.File("work"));
  std::filesystem::copy_file(VantroBinary(), dir.File("usr/bin/vantro"));
  dir.Write("usr/share/doc/vantro/Vantro.html", "<html></html>");
  std::string opener =
      dir.Write("xdg-open", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/opened\"\n");
  chmod(opener.c_str(), 0755);
  ScopedPathPrefix path(dir.Path());
  PipedProcess session(dir.File("usr/bin/vantro"), {}, dir.File("work"));
  session.Send("setoption name Help");
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(2s), 0);
  for (int i = 0; i < 50 && dir.Read("opened").empty(); ++i) std::this_thread::sleep_for(20ms);
  EXPECT_EQ(dir.Read("opened"), dir.File("usr/share/doc/vantro/Vantro.html") + "\n");
}

TEST(Options, NicedAdapterRunsTheEngineAtTheMappedClass) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1").ExitOnQuit();
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), {"Logfile=true"});
  PipedProcess session("/usr/bin/nice", {"-n", "10", VantroBinary(), def}, dir.Path());
  session.Send("isready");
  ASSERT_EQ(session.WaitFor("readyok", 5s), "readyok");
  EXPECT_THAT(dir.Read("Vantro.log"), HasSubstr("S- Priority class set to 16384\r\n"));
  // The engine is a child of one of Vantro's threads: find it.
  std::string children;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(session.Pid()) + "/task")) {
    std::ifstream in(task.path() / "children");
    std::string line;
    if (std::getline(in, line) && !line.empty()) children = line;
  }
  ASSERT_FALSE(children.empty());
  EXPECT_EQ(NiceOf(std::stoi(children)), 10);
  // Vantro itself returns to normal where it may raise its priority.
  if (geteuid() == 0) {
    EXPECT_EQ(NiceOf(session.Pid()), 0);
  }
  session.Send("quit");
  EXPECT_EQ(session.WaitExit(5s), 0);
}

}  // namespace
}  // namespace vantro::test
