// Options through the adapter: the announced list, engine-specific options,
// pre-setup files and hostile templates.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "support/conversation.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kExtras = {
    "[EXTRAS]",
    "Threads=cores|spin|1|1|8",
    "Learning=learn|check|true|off|on",
    "Clear Hash=new|button",
    "Style=style %s|combo|normal|solid|normal|risky",
    "Book=<readfile>|combo|none|none|book1|book2",
    "Name=name|string",
};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Conversation kOptions[] = {
    // Spins stay in their range, codes go by their first character, and every
    // option stays one line.
    {.name = "SecondUciShowsTheNewValues",
     .definition = {"HashCommand=memory %i\\n%i"},
     .gui = {"setoption name Priority value Low", "setoption name Edit value cb-edit",
             "setoption name LevelExtend value 2x", "setoption name MoveTime value clock",
             "setoption name InitString value <empty>", "setoption name Logfile value true",
             "setoption name SlowDown value 100000", "setoption name Delay value 1000000",
             "setoption name InitTime value -3", "setoption name Hash value 100000",
             "setoption name LevelType value 7", "setoption name Protocol value 0",
             "setoption name Noise value 500", "uci", "@wait uciok"},
     .toGui = {"#0 (?!id |option name |uciok).*",
               "#1 option name Priority type combo default Low var Normal var BelowNormal var Low",
               "#1 option name Edit type combo default cb-edit var setboard var edit var cb-edit",
               "#1 option name LevelExtend type combo default Failsafe var Progressive var Strict "
               "var Failsafe var None",
               "#1 option name MoveTime type combo default clock var st var level var clock",
               "#1 option name InitString type string default <empty>",
               "#1 option name Logfile type check default true",
               "#1 option name HashCommand type string default memory %i\\\\n%i",
               "#1 option name HashFormula type string default <empty>",
               "#1 option name SlowDown type spin default 100 min 1 max 100",
               "#1 option name Delay type spin default 1000 min 0 max 1000",
               "#1 option name InitTime type spin default 0 min 0 max 30",
               "#1 option name Hash type spin default 256 min 0 max 256",
               "#1 option name LevelType type spin default 2 min 1 max 2",
               "#1 option name Protocol type spin default 1 min 1 max 2",
               "#1 option name Noise type spin default 99 min -1 max 99"}},
    // The names are case-sensitive: "logfile" shows nothing.
    {.name = "VisibleListsRestrictTheAnnouncement",
     .definition = Join({"[ENGINE]", "Visible=Hash, Extras, logfile", "visible=Ponder"}, kExtras),
     .gui = {"uci", "@wait uciok"},
     .toGui = {"#8 option .*", "option name Threads type spin default 1 min 1 max 8",
               "option name Book type combo default none var none var book1 var book2",
               "option name Hash type spin default 2 min 0 max 256",
               "option name Ponder type check default true"}},
    {.name = "HostileTemplatesAreSentLiterally",
     .script = {"start print feature done=1", "on quit exit"},
     .definition = {"HashCommand=%s%s%n%x %i %n", "[EXTRAS]", "A=%s%s%n%x|string",
                    "B=%n%x %i %s|spin|1|1|9", "C=%s%n|button", "D=%%s %s %n|combo|x|x|y"},
     .gui = {"@ready", "setoption name A value " + std::string(300, 'v'),
             "setoption name B value 7", "setoption name C", "setoption name D value y", "isready",
             "@wait readyok", "quit"},
     .toEngine = {"#1 %s%s%n%x 2 %n", "hard", "v{300}%s%n%x", "%n%x 7 %s", "%s%n", "%s y %n",
                  "quit"},
     .exitWithin = 5s},
};

CONVERSATION_TABLE(Options, OptionExchanges, EndAsScripted, kOptions);

TEST(Options, EngineOptionsReachTheEngineQueuedOrAtOnce) {
  TempDir dir;
  dir.Write("book1.txt", ";comment\n\n  hash 64  \nrandom\n");
  FakeEngineScript script;
  script.Features("done=1").ExitOnQuit();
  auto session = StartVantro(dir, script.WriteTo(dir), Join(kExtras, {"[OPTIONS]", "Threads=3"}));
  session->Send("setoption name Book value book1");
  session->Send("setoption name Style value 2");
  ASSERT_TRUE(session->Handshake(5s));
  for (const char* line :
       {"setoption name Threads value 4x", "setoption name Learning value True",
        "setoption name Learning value yes", "setoption name Clear Hash value ignored",
        "setoption name Style value insane", "setoption name Style value 5",
        "setoption name Name value <empty>", "setoption name threads value 2",
        "setoption name Book value 0", "setoption name Book value book2", "quit"}) {
    session->Send(line);
  }
  ASSERT_EQ(session->WaitExit(5s), 0);
  ASSERT_TRUE(WaitForEngineLine(EngineLogPath(dir), "quit", 3s));
  std::vector<std::string> got = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
  auto hard = std::find(got.begin(), got.end(), "hard");
  ASSERT_NE(hard, got.end());
  EXPECT_THAT(
      std::vector(hard + 1, got.end()),
      ::testing::ElementsAre("cores 3", "hash 64", "random", "style risky", "cores 4", "learn on",
                             "learn off", "new", "style insane", "name ", "quit"));
  EXPECT_THAT(dir.Read("Vantro.log"),
              ::testing::HasSubstr("-- Failed to read pre setup from book2.txt"));
}

}  // namespace
}  // namespace vantro::test
