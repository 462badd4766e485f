// Engine mate scores reach the GUI as "score mate N" in the convention the
// definition file names, for either side, while thinking, pondering and
// analysing; scores outside the convention stay centipawns.
#include <gtest/gtest.h>

#include <tuple>

#include "support/conversation.h"

namespace vantro::test {
namespace {

constexpr const char* kWhite = "position startpos moves e2e4 e7e5 f1c4 b8c6 d1h5 g8f6";
constexpr const char* kBlack = "position startpos moves f2f3 e7e5 g2g4";
constexpr const char* kThink = "go wtime 60000 btime 60000";

TEST(MateScore, ReachesTheGuiInTheNamedConventionForEitherSideInEverySearch) {
  // Definition file lines, position, go, the engine's line (after "go", or
  // after "analyze" for go infinite) and what the GUI must see of it.
  const std::tuple<std::vector<std::string>, const char*, const char*, const char*, const char*>
      cases[] = {
          {{}, kWhite, kThink, "3 100001 5 100 h5f7", " score mate 1 "},
          {{}, kBlack, kThink, "4 -100002 5 100", " score mate -2 "},
          {{"MateScore=999999-plies"}, kWhite, kThink, "5 999996 5 100", " score mate 2 "},
          {{"MateScore=30000 - plies"}, kBlack, kThink, "5 -29998 5 100", " score mate -1 "},
          {{"WhiteScore=true"}, kBlack, kThink, "4 100002 5 100", " score mate -2 "},
          {{"MateScore=none"}, kWhite, kThink, "3 100001 5 100", " score cp 100001 "},
          {{}, kBlack, "go infinite", "6 -100003 5 100", " score mate -3 "},
      };
  for (const auto& [options, position, go, line, expected] : cases) {
    SCOPED_TRACE(line);
    const std::string trigger = std::string_view(go) == kThink ? "on go" : "on analyze";
    Converse({.script = {"start print feature done=1", trigger + " print " + line},
              .definition = options,
              .gui = {"@ready", position, go},
              .toGui = {"info depth .*" + std::string(expected) + ".*"}});
  }
}

TEST(MateScore, ReachesTheGuiWhilePondering) {
  Converse({.name = "pondering",
            .script = {"start print feature done=1", "on go print 3 20 5 100 e2e4 e7e5",
                       "on go print move e2e4", "on go sleep 1000",
                       "on go print 4 -100003 5 100 e7e5 g1f3"},
            .gui = {"@ready", "position startpos", kThink, "@wait bestmove",
                    "position startpos moves e2e4 e7e5", "go ponder wtime 60000 btime 60000",
                    "@wait info depth 4"},
            .toGui = {"bestmove e2e4 ponder e7e5", "info depth 4 score mate -3 .*"}});
}

}  // namespace
}  // namespace vantro::test
