// Games through the adapter: what the GUI and the engine see of positions,
// searches, pondering, analysis and stops, also when a search starts from an
// unusual state of the engine (after analysis, undo, an error reply, a result
// or a draw claim). Each go ends with its one bestmove, and the engine's game
// matches the GUI's.
#include <gtest/gtest.h>

#include "support/conversation.h"

namespace vantro::test {
namespace {

const std::string kFeatures = "start print feature setboard=1 done=1";
const std::vector<std::string> kPlay = {kFeatures, "mode play", "move-delay 0 30", "seed 5"};
const std::string kGo = "go wtime 60000 btime 60000";
const std::string kFen = "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";

const Conversation kGames[] = {
    {.name = "TypicalExchangeLineForLineOnBothSides",
     .script = {kFeatures, "on go print 1 10 5 100 e7e5 g1f3", "on go print move e7e5"},
     .gui = {"@ready", "position startpos moves e2e4", kGo, "@wait bestmove", "@pause 200"},
     .toGui = {"#2 info .*", "#1 bestmove .*", "info depth 1 score cp 1",
               "info depth 1 score cp 10 time 50 nodes 100 nps 2000 pv e7e5 g1f3",
               "bestmove e7e5 ponder g1f3"},
     .toEngine = {"#2 force", "#1 go", "new", "post", "hard", "force", "level 0 1 0", "e2e4",
                  "time 6000", "otim 6000", "black", "go"}},
    {.name = "NextMoveAloneStartsTheEngineAndItsFirstThoughtsArrive",
     .script = {kFeatures, "on go print move e7e5", "on g1f3 print 3 25 1 30 b8c6 f1b5",
                "on g1f3 print move b8c6"},
     .gui = {"@ready", "position startpos moves e2e4", kGo, "@wait bestmove",
             "position startpos moves e2e4 e7e5 g1f3", "go wtime 58000 btime 59000",
             "@wait bestmove"},
     .toGui = {"#2 bestmove .*", "bestmove e7e5", "info depth 1 score cp 1",
               "info depth 3 score cp 25 time 10 nodes 30 nps 3000 pv b8c6 f1b5",
               "bestmove b8c6 ponder f1b5"},
     .toEngine = {"#1 go", "#2 new", "#2 force", "e2e4", "time 6000", "otim 6000", "black", "go",
                  "time 5900", "otim 5800", "g1f3"}},
    // Sjeng's last line often has one move: the reply of an older line (here
    // exd5) is no prediction for the move played, and not even legal after it.
    {.name = "PonderMoveComesOnlyFromTheLastPrincipalVariation",
     .script = {kFeatures, "on go print 1 10 5 100 d7d5 e4d5", "on go print 2 20 6 200 e7e5",
                "on go print move e7e5"},
     .gui = {"@ready", "position startpos moves e2e4", kGo, "@wait bestmove"},
     .toGui = {"#1 bestmove .*", "bestmove e7e5"}},
    // The predicted move reaches the engine with the increment in ms, and a
    // fixed time per move outlives the hit.
    {.name = "PonderHitSendsThePredictedMoveAndTheEngineSearchesOn",
     .script = {kFeatures, "on go print move e7e5", "on d2d4 print move g8f6",
                "on c2c4 print move b8c6"},
     .gui = {"@ready", "position startpos moves e2e4",
             "go wtime 60000 btime 60000 winc 2000 binc 2000", "@wait bestmove",
             "position startpos moves e2e4 e7e5 d2d4",
             "go ponder wtime 59000 btime 59000 winc 2000 binc 2000", "@pause 300", "ponderhit",
             "@wait bestmove", "position startpos moves e2e4 e7e5 d2d4 g8f6 c2c4",
             "go ponder movetime 2000", "ponderhit", "@wait bestmove"},
     .toGui = {"#3 bestmove .*", "bestmove e7e5", "bestmove g8f6", "bestmove b8c6"},
     .toEngine = {"level 0 1 2", "otim 60[5-9][0-9]", "d2d4", "st 2", "c2c4"}},
    {.name = "PonderHitWithoutPonderSendsNothing",
     .script = {kFeatures, "on go print move e7e5"},
     .gui = {"@ready", "position startpos moves e2e4", "ponderhit", "@pause 300"},
     .toGui = {"#0 bestmove .*"},
     .toEngine = {"#0 go"}},
    // Exit after analysis leaves force mode: one new move needs go.
    {.name = "PonderHitAfterAnalysisStartsTheSearch",
     .script = kPlay,
     .gui = {"@ready", "position startpos moves e2e4", "go infinite", "@pause 100", "stop",
             "@wait bestmove", "position startpos moves e2e4 e7e5",
             "go ponder wtime 60000 btime 60000", "ponderhit", "@wait bestmove"},
     .toGui = {"#2 bestmove .*"}},
    {.name = "DepthLimitKeptAcrossAnalysisAndNewIsLifted",
     .script = {kFeatures, "on go print move e7e5"},
     .gui = {"@ready", "position startpos moves e2e4", "go depth 3", "@wait bestmove",
             "position startpos moves d2d4", "go infinite", "@pause 200", "stop", "@wait bestmove",
             "ucinewgame", "position startpos moves e2e4", kGo, "@wait bestmove"},
     .toGui = {"#3 bestmove .*"},
     .toEngine = {"sd 3", "sd 64", "analyze", "exit", "new", "go"}},
    {.name = "FixedMoveTimeIsReplacedByTheNextClockSearchsLevel",
     .script = {kFeatures, "on go print move e7e5", "on g1f3 print move b8c6"},
     .gui = {"@ready", "position startpos moves e2e4", "go movetime 1000", "@wait bestmove",
             "position startpos moves e2e4 e7e5 g1f3", "go wtime 10000 btime 10000",
             "@wait bestmove"},
     .toGui = {"#2 bestmove .*"},
     .toEngine = {"st 1", "level 0 0:10 0", "time 1000", "otim 1000", "g1f3"}},
    {.name = "SetboardErrorFallsBackToEdit",
     .script = {kFeatures, "on setboard print Error (command not legal now): setboard",
                "on go print move e1f1"},
     .gui = {"@ready", "position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1", kGo, "@wait bestmove", kGo,
             "@wait bestmove"},
     .toGui = {"#2 bestmove .*", "bestmove (?!e1f1).*", "bestmove e1f1"},
     .toEngine = {"setboard .*", "edit", "Rh1"}},
    // The stop waits for the engine's own move, not the one its thinking showed.
    {.name = "TheFilesMoveNowCommandStopsTheSearch",
     .script = {kFeatures, "on go print 4 30 10 500 e2e4 e8d7", "on easy print move e2e3"},
     .definition = {"MoveNow=easy\\nhard"},
     .gui = {"@ready", kFen, kGo, "@pause 200", "stop", "@wait bestmove"},
     .toGui = {"#1 bestmove .*", "bestmove e2e3"},
     .toEngine = {"go", "easy", "hard"}},
    {.name = "AnalysisWithoutAnalyzeIsASearchWithoutATimeLimit",
     .script = {kFeatures, "on ? print move d7d5"},
     .definition = {"Analyze=false"},
     .gui = {"@ready", "position startpos moves d2d4", "go infinite", "@pause 200", "stop",
             "@wait bestmove"},
     .toGui = {"#1 bestmove .*"},
     .toEngine = {"new", "level 1 1440 0", "go", "\\?"}},
    {.name = "FixedMoveTimeAsOneMoveInThatTime",
     .script = {kFeatures, "on go print move e2e4"},
     .definition = {"MoveTime=level"},
     .gui = {"@ready", kFen, "go movetime 2500", "@wait bestmove"},
     .toGui = {"#1 bestmove .*"},
     .toEngine = {"new", "level 1 0:03 0", "time 250", "otim 250", "white", "go"}},
    {.name = "DrawClaimEndsTheSearchAtOnce",
     .script = {kFeatures, "on go print 1/2-1/2 {Draw by repetition}"},
     .gui = {"@ready", "position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8", kGo,
             "@wait bestmove"},
     .toGui = {"#1 bestmove .*", "#1 bestmove [a-h][1-8][a-h][1-8]"}},
    // The engine refused e2e4 and searches the start position: its g8f6 (a
    // legal reply either way) must not reach the GUI, and the next search
    // starts from a fresh set-up ("new" at the start and at each set-up).
    {.name = "IllegalMoveReplySetsTheEngineUpAfresh",
     .script = {kFeatures, "on e2e4 print Illegal move: e2e4", "on go sleep 200",
                "on go print move g8f6"},
     .gui = {"@ready", "position startpos moves e2e4", kGo, "@wait bestmove", "@pause 800",
             "position startpos moves e2e4 e7e5 g1f3", kGo, "@wait bestmove", "@pause 800"},
     .toGui = {"#2 bestmove (?!g8f6).*", "#2 bestmove .*"},
     .toEngine = {"#3 new"}},
    // The status poll runs only while the engine thinks: two in 1.2 s and
    // none after the search.
    {.name = "ThinkingMoveIsAskedForOnceASecondWhileTheEngineThinks",
     .script = {kFeatures, "on go print 4 30 10 500 g1f3 g8f6",
                "on . print stat01: 120 5000 4 3 20 Nf3", "on ? print move g1f3"},
     .definition = {"ShowThinkingMove=true"},
     .gui = {"@ready", "position startpos", kGo, "@wait info time", "@pause 1200", "stop",
             "@wait bestmove", "@pause 1300"},
     .toGui = {"info time 1200 nodes 5000 nps 4166 depth 4 currmovenumber 17 currmove g1f3"},
     .toEngine = {"#2 \\.", "\\?"}},
};

CONVERSATION_TABLE(Exchanges, Games, EndAsScripted, kGames);

}  // namespace
}  // namespace vantro::test
