// Searches that start from an unusual state of the engine: after analysis,
// after undo, after an error reply, a result or a draw claim, and ponderhits
// with and without a pending ponder search. Each ends with the GUI's legal
// bestmove at once and the engine's game matching the GUI's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"
#include "support/gui_steps.h"
#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

struct SearchPath {
  const char* name;
  std::vector<std::string> rules;      // fake engine script lines
  std::vector<std::string> gui;        // steps of PlayGuiSteps; each "@wait" has 3 s
  std::vector<std::string> bestmoves;  // every "bestmove" line, exactly
  // Patterns each matching a line the engine got; "#n pattern": exactly n lines.
  std::vector<std::string> engineGot;
  std::vector<std::string> options = {};
};

std::ostream& operator<<(std::ostream& out, const SearchPath& p) {
  return out << p.name;
}

const std::vector<std::string> kPlay = {"start print feature done=1", "mode play",
                                        "move-delay 0 30", "seed 5"};
const std::string kFirstGo = "go wtime 60000 btime 60000";

const SearchPath kPaths[] = {
    {"OneMoveAfterAnalysisStartsTheSearch",
     kPlay,
     {"position startpos moves e2e4", "go infinite", "@pause 100", "stop", "@wait bestmove",
      "position startpos moves e2e4 e7e5", kFirstGo, "@wait bestmove"},
     {"bestmove .*", "bestmove .*"},
     {"^exit$"}},
    {"OneMoveAfterUndoStartsTheSearch",
     kPlay,
     {"position startpos moves d2d4 d7d5", "go infinite", "@pause 100", "stop", "@wait bestmove",
      "position startpos moves d2d4", "go infinite", "@pause 100", "stop", "@wait bestmove",
      "position startpos moves d2d4 d7d5", kFirstGo, "@wait bestmove"},
     {"bestmove .*", "bestmove .*", "bestmove .*"},
     {"^undo$"}},
    {"PonderHitAfterAnalysisStartsTheSearch",
     kPlay,
     {"position startpos moves e2e4", "go infinite", "@pause 100", "stop", "@wait bestmove",
      "position startpos moves e2e4 e7e5", "go ponder wtime 60000 btime 60000", "ponderhit",
      "@wait bestmove"},
     {"bestmove .*", "bestmove .*"},
     {}},
    {"PonderHitAddsTheIncrementInMilliseconds",
     {"start print feature done=1", "on go print move e7e5", "on d2d4 print move g8f6"},
     {"position startpos moves e2e4", "go wtime 60000 btime 60000 winc 2000 binc 2000",
      "@wait bestmove", "position startpos moves e2e4 e7e5 d2d4",
      "go ponder wtime 59000 btime 59000 winc 2000 binc 2000", "@pause 50", "ponderhit",
      "@wait bestmove"},
     {"bestmove e7e5", "bestmove g8f6"},
     {"^level 0 1 2$", "^otim 60[5-9][0-9]$"}},
    {"PonderHitWithoutPonderSendsNothing",
     {"start print feature done=1", "on go print move e7e5"},
     {"position startpos moves e2e4", "ponderhit", "@pause 300"},
     {},
     {"#0 ^go$"}},
    {"DrawClaimEndsTheSearchAtOnce",
     {"start print feature done=1", "on go print 1/2-1/2 {Draw by repetition}"},
     {"position startpos moves e2e4", kFirstGo, "@wait bestmove"},
     {"bestmove [a-h][1-8][a-h][1-8]"},
     {}},
    // The engine refused e2e4 and searches the start position: its g8f6 (a
    // legal reply either way) must not reach the GUI, and the next search
    // starts from a fresh set-up ("new" at the start and at each set-up).
    {"IllegalMoveReplySetsTheEngineUpAfresh",
     {"start print feature done=1", "on e2e4 print Illegal move: e2e4", "on go sleep 200",
      "on go print move g8f6"},
     {"position startpos moves e2e4", kFirstGo, "@wait bestmove", "@pause 800",
      "position startpos moves e2e4 e7e5 g1f3", kFirstGo, "@wait bestmove", "@pause 800"},
     {"bestmove (?!g8f6).*", "bestmove (?!g8f6).*"},
     {"#3 ^new$"}},
    {"SetboardErrorFallsBackToEdit",
     {"start print feature setboard=1 done=1",
      "on setboard print Error (command not legal now): setboard", "on go print move e1f1"},
     {"position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1", kFirstGo, "@wait bestmove", kFirstGo,
      "@wait bestmove"},
     {"bestmove (?!e1f1).*", "bestmove e1f1"},
     {"^setboard ", "^edit$", "^Rh1$"}},
};

class SearchPaths : public ::testing::TestWithParam<SearchPath> {};

TEST_P(SearchPaths, EndWithOneLegalBestMoveEach) {
  const SearchPath& p = GetParam();
  TempDir dir;
  FakeEngineScript script;
  for (const std::string& rule : p.rules) script.Line(rule);
  script.ExitOnQuit();
  UciSession session(dir.Path(),
                     {WriteDefinitionFile(dir, "x.eng", script.WriteTo(dir), p.options)});
  ASSERT_TRUE(session.Handshake(5s));
  ASSERT_TRUE(PlayGuiSteps(session, p.gui, 3s));

  std::vector<std::string> best = LinesStartingWith(session, "bestmove");
  ASSERT_EQ(best.size(), p.bestmoves.size()) << ::testing::PrintToString(best);
  for (std::size_t i = 0; i < best.size(); ++i) {
    EXPECT_TRUE(std::regex_match(best[i], std::regex(p.bestmoves[i]))) << best[i];
  }
  std::vector<std::string> got = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
  for (std::string pattern : p.engineGot) {
    long wanted = -1;  // at least one
    if (pattern.starts_with('#')) {
      wanted = std::stol(pattern.substr(1));
      pattern = pattern.substr(pattern.find(' ') + 1);
    }
    std::regex re(pattern);
    long count = std::count_if(got.begin(), got.end(), [&](const std::string& line) {
      return std::regex_search(line, re);
    });
    if (wanted < 0) {
      EXPECT_GT(count, 0) << "the engine got no line like " << pattern;
    } else {
      EXPECT_EQ(count, wanted) << "lines like " << pattern;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, SearchPaths, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantro::test
