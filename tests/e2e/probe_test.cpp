// "vantro --probe": the definition file it writes for an engine, the same
// options through the EngineOptions key, and its answers when the engine
// cannot be used; --help and --version.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

#include "base/text.h"
#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

// The engine-specific option lines of a "uci" answer (they come first).
std::vector<std::string> EngineOptionLines(UciSession& session) {
  session.Send("uci");
  std::vector<std::string> lines;
  for (const std::string& line : session.ReadUntil("uciok", 10s)) {
    if (line.starts_with("option name Program ")) break;
    if (line.starts_with("option ")) lines.push_back(line);
  }
  return lines;
}

TEST(Probe, WritesEveryFeatureAndOptionTypeAndTheKeyOffersTheSameOptions) {
  TempDir dir;
  FakeEngineScript script;
  script.Features(
      "myname=\"Fake Engine 1\" setboard=0 analyze=0 memory=1 smp=1 "
      "option=\"Depth Cap -spin 5 1 10\" option=\"Slide -slider 3 0 9\" option=\"Fast -check 1\" "
      "option=\"Book -file /tmp/b.bin\" option=\"Dir -path .\" option=\"Motto -string a b\" "
      "option=\"Style -combo solid /// *normal /// risky\" option=\"Reset It -button\" "
      "option=\"Keep -save\" option=\"Hash -spin 1 1 9\" option=\"Hue -color red\" done=1");
  script.ExitOnQuit();
  const std::string program = script.WriteTo(dir);
  const VantroRun probe = Probe(dir, program);
  ASSERT_EQ(probe.status, 0) << probe.err;
  for (const std::string& line : std::vector<std::string>{
           "Name=Fake Engine 1", "Program=" + program, "Edit=edit", "HashCommand=memory %i",
           "Analyze=false", "MateScore=100000+moves", "[EXTRAS]",
           "Depth Cap=option Depth Cap=%i|spin|5|1|10", "Slide=option Slide=%i|spin|3|0|9",
           "Fast=option Fast=%s|check|true|0|1", "Book=option Book=%s|string|/tmp/b.bin",
           "Dir=option Dir=%s|string|.", "Motto=option Motto=%s|string|a b",
           "Style=option Style=%s|combo|normal|solid|normal|risky",
           "Reset It=option Reset It|button", "Keep=option Keep|button",
           "; Hash: Vantro's own option of that name takes precedence",
           "; not usable here: Hue -color red", "Threads=cores %i|spin|1|1|"}) {
    EXPECT_THAT(probe.out, HasSubstr("\n" + line)) << line;
  }

  UciSession probed(dir.Path(), {dir.Write("p.eng", probe.out)});
  const std::vector<std::string> fromFile = EngineOptionLines(probed);
  EXPECT_EQ(fromFile.size(), 10u);
  UciSession session(dir.Path(), {dir.Write("k.eng", "[OPTIONS]\nProgram=" + program +
                                                         "\nEngineOptions=true\nLogfile=true\n")});
  EXPECT_EQ(EngineOptionLines(session), fromFile);
  for (const char* set : {"Depth Cap value 7", "Fast value false", "Style value risky",
                          "Motto value x  y", "Reset It", "Threads value 2"}) {
    session.Send(std::string("setoption name ") + set);
  }
  session.Send("isready");
  ASSERT_TRUE(session.WaitFor("readyok", 3s));
  for (const char* sent : {"option Depth Cap=7", "option Fast=0", "option Style=risky",
                           "option Motto=x y", "option Reset It", "cores 2"}) {
    EXPECT_TRUE(WaitForEngineLine(EngineLogPath(dir), sent, 2s)) << sent;
  }
}

TEST(Probe, TellsAFirstVersionEngineAndRefusesWhatIsNoXboardEngine) {
  // The engine's answer to "go" (none: no such program), the exit status, and
  // what the output (empty on failure) and the error hold.
  const std::tuple<const char*, int, const char*, const char*> cases[] = {
      {"print move e2e4", 0, "\nProtocol=1\n", ""},
      {nullptr, 1, "", "cannot start the engine"},
      {"print bestmove e2e4", 1, "", "answered neither \"protover 2\" nor \"go\""},
  };
  for (const auto& [answer, status, out, err] : cases) {
    TempDir dir;
    FakeEngineScript script;
    const VantroRun probe = Probe(dir, answer ? script.On("go", answer).ExitOnQuit().WriteTo(dir)
                                              : dir.File("no-such-engine") + " -x");
    EXPECT_EQ(probe.status, status) << probe.err;
    EXPECT_EQ(probe.out.empty(), status != 0);
    EXPECT_THAT(probe.out, HasSubstr(out));
    EXPECT_THAT(probe.err, HasSubstr(err));
  }
  EXPECT_EQ(RunVantro(TempDir(), {"--probe"}).status, 2);
}

TEST(CommandLine, HelpAndVersionAnswerWithoutAnEngineOrALog) {
  TempDir dir;
  dir.Write("Vantro.eng", "[OPTIONS]\nProgram=" + dir.File("x") + "\nLogfile=true\n");
  const VantroRun help = RunVantro(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, ::testing::StartsWith("Usage: vantro [DEFINITION-FILE]\n"));
  EXPECT_THAT(help.out, HasSubstr("--probe PROGRAM"));
  const VantroRun version = RunVantro(dir, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Vantro 1.3B10\n");
  EXPECT_EQ(dir.Read("Vantro.log"), "");
}

}  // namespace
}  // namespace vantro::test
