// Options through the adapter: the announced list, engine-specific options,
// pre-setup files and hostile templates.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> ReceivedAfterStart(const TempDir& dir) {
  WaitForEngineLine(EngineLogPath(dir), "quit", 3s);  // the fake logs on its own time
  std::vector<std::string> all = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
  auto it = std::find(all.begin(), all.end(), "hard");
  return {it == all.end() ? all.end() : it + 1, all.end()};
}

const std::vector<std::string> kExtras = {
    "[EXTRAS]",
    "Threads=cores|spin|1|1|8",
    "Learning=learn|check|true|off|on",
    "Clear Hash=new|button",
    "Style=style %s|combo|normal|solid|normal|risky",
    "Book=<readfile>|combo|none|none|book1|book2",
    "Name=name|string",
};

TEST(Options, SecondUciShowsTheNewValues) {
  TempDir dir;
  UciSession session(dir.Path());
  for (const char* line :
       {"setoption name Priority value Low", "setoption name Edit value cb-edit",
        "setoption name LevelExtend value Failsafe", "setoption name InitString value <empty>",
        "setoption name Logfile value true"}) {
    session.Send(line);
  }
  session.Send("uci");
  std::vector<std::string> lines = session.ReadUntil("uciok", 2s);
  EXPECT_THAT(lines, Contains("option name Priority type combo default Low var Normal var "
                              "BelowNormal var Low"));
  EXPECT_THAT(lines, Contains("option name Edit type combo default cb-edit var setboard var edit "
                              "var cb-edit"));
  EXPECT_THAT(lines, Contains("option name LevelExtend type combo default Failsafe var "
                              "Progressive var Strict var Failsafe var None"));
  EXPECT_THAT(lines, Contains("option name InitString type string default <empty>"));
  EXPECT_THAT(lines, Contains("option name Logfile type check default true"));
}

TEST(Options, VisibleListsRestrictTheAnnouncement) {
  TempDir dir;
  std::vector<std::string> extra = kExtras;
  extra.insert(extra.begin(), {"[ENGINE]", "Visible=Hash, Extras", "visible=Ponder"});
  std::string def = WriteDefinitionFile(dir, "x.eng", "<empty>", extra);
  UciSession session(dir.Path(), {def});
  session.Send("uci");
  std::vector<std::string> lines = session.ReadUntil("uciok", 2s);
  ASSERT_EQ(lines.size(), 2u + 6u + 2u + 1u);
  EXPECT_EQ(lines[2], "option name Threads type spin default 1 min 1 max 8");
  EXPECT_EQ(lines[6], "option name Book type combo default none var none var book1 var book2");
  EXPECT_EQ(lines[8], "option name Hash type spin default 2 min 0 max 256");
  EXPECT_EQ(lines[9], "option name Ponder type check default true");

  TempDir other;
  std::string lower = WriteDefinitionFile(other, "x.eng", "<empty>", {"[ENGINE]", "Visible=hash"});
  UciSession hidden(other.Path(), {lower});
  hidden.Send("uci");
  EXPECT_EQ(hidden.ReadUntil("uciok", 2s).size(), 3u);
}

TEST(Options, EngineOptionsReachTheEngineQueuedOrAtOnce) {
  TempDir dir;
  dir.Write("book1.txt", ";comment\n\n  hash 64  \nrandom\n");
  FakeEngineScript script;
  script.Features("done=1").ExitOnQuit();
  std::vector<std::string> extra = kExtras;
  extra.push_back("[OPTIONS]");
  extra.push_back("Threads=3");
  std::string def = WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), extra);
  UciSession session(dir.Path(), {def});
  session.Send("setoption name Book value book1");
  session.Send("setoption name Style value 2");
  ASSERT_TRUE(session.Handshake(5s));
  session.Send("setoption name Logfile value true");
  for (const char* line :
       {"setoption name Threads value 4x", "setoption name Learning value True",
        "setoption name Learning value yes", "setoption name Clear Hash value ignored",
        "setoption name Style value insane", "setoption name Style value 5",
        "setoption name Name value <empty>", "setoption name threads value 2",
        "setoption name Book value 0", "setoption name Book value book2"}) {
    session.Send(line);
  }
  session.Send("isready");
  ASSERT_TRUE(session.WaitFor("readyok", 2s));
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(5s), 0);
  EXPECT_THAT(ReceivedAfterStart(dir),
              ElementsAre("cores 3", "hash 64", "random", "style risky", "cores 4", "learn on",
                          "learn off", "new", "style insane", "name ", "quit"));
  EXPECT_THAT(dir.Read("Vantro.log"), HasSubstr("-- Failed to read pre setup from book2.txt"));
}

TEST(Options, HostileTemplatesAreSentLiterally) {
  TempDir dir;
  FakeEngineScript script;
  script.Features("done=1").ExitOnQuit();
  std::string def =
      WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir),
                          {"HashCommand=%s%s%n%x %i %n", "[EXTRAS]", "A=%s%s%n%x|string",
                           "B=%n%x %i %s|spin|1|1|9", "C=%s%n|button", "D=%%s %s %n|combo|x|x|y"});
  UciSession session(dir.Path(), {def});
  ASSERT_TRUE(session.Handshake(5s));
  session.Send("setoption name A value " + std::string(300, 'v'));
  session.Send("setoption name B value 7");
  session.Send("setoption name C");
  session.Send("setoption name D value y");
  session.Send("isready");
  ASSERT_TRUE(session.WaitFor("readyok", 5s));
  session.Send("quit");
  ASSERT_EQ(session.WaitExit(5s), 0);
  EXPECT_THAT(ReceivedAfterStart(dir), ElementsAre(std::string(300, 'v') + "%s%n%x", "%n%x 7 %s",
                                                   "%s%n", "%s y %n", "quit"));
  std::vector<std::string> all = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
  EXPECT_THAT(all, Contains("%s%s%n%x 2 %n"));
}

}  // namespace
}  // namespace vantro::test
