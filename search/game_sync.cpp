#include "search/game_sync.h"

#include <algorithm>
#include <chrono>

#include "chess/move_text.h"
#include "chess/position_text.h"
#include "engine/engine_control.h"
#include "search/search_records.h"
#include "search/time_control.h"

namespace vantro {
namespace {

constexpr auto kSetUpStopWait = std::chrono::milliseconds(21 * 250);

bool SameLeadingMoves(const GameRecord& x, const GameRecord& y, int count) {
  for (int i = 0; i < count; ++i) {
    if (!x.moves[i].SameMove(y.moves[i])) return false;
  }
  return true;
}

}  // namespace

SyncCounts CompareGames(SearchRecords& a, const GoRequest& go) {
  SearchContext& s = a.search;
  SyncCounts c;
  c.newCount = s.guiGame.Count();
  c.oldCount = s.engineGame.Count();
  bool reset = false;
  if (s.guiGame.start.Compare(s.engineGame.start) != 0) {
    reset = true;
  } else if (c.newCount > c.oldCount) {
    reset = !SameLeadingMoves(s.guiGame, s.engineGame, c.oldCount);
  } else if (go.infinite && a.settings.useUndo &&
             SameLeadingMoves(s.guiGame, s.engineGame, c.newCount)) {
    if (c.oldCount > c.newCount) {
      a.SendToEngine("force");
      c.forceSent = true;
      for (; c.oldCount > c.newCount; --c.oldCount) {
        a.SendToEngine("undo");
        s.TruncateEngineGame(c.oldCount - 1);
      }
    }
  } else {
    reset = true;
  }
  if (reset) {
    s.ClearEngineGame();
    c.oldCount = 0;
  }
  return c;
}

void FullSetUp(SearchRecords& a, std::unique_lock<std::mutex>& lock, SyncCounts& c,
               bool whiteToMove) {
  SearchContext& s = a.search;
  s.hintMove = MoveInfo{};
  s.reportedPonderMove = MoveInfo{};
  s.engineResigned = false;
  s.ResetPvMoves(true);
  s.statusPoll = StatusPoll::kOff;

  SearchState state = s.state;
  if (state == SearchState::kThinking) {
    // The move this interruption produces belongs to the old game.
    s.stopMove = true;
    a.SendToEngine(a.settings.moveNow);
    // Nothing held waits with the set-up: the engine must hear "?" now.
    a.engine.Release();
    a.gui.Release();
    s.WaitWhile(lock, SearchState::kThinking, kSetUpStopWait);
    a.gui.Hold();
    a.engine.Hold();
    a.SendToEngine("force");
  } else if (state == SearchState::kAnalyzing) {
    a.SendToEngine(a.settings.exitAnalysis);
  } else {
    a.SendToEngine("force");
  }
  SendNewGame(a, c, whiteToMove, s.guiGame.start);
}

void SendNewGame(SearchRecords& a, SyncCounts& c, bool whiteToMove, const Board& start) {
  SearchContext& s = a.search;
  a.SendToEngine("new");
  s.engineForced = false;
  SendPostMode(a.engine, a.settings);
  SendPonderMode(a.engine, a.settings);
  if (a.settings.showThinkingMove) s.statusPoll = StatusPoll::kArmed;
  if (!whiteToMove) {
    a.SendToEngine("force");
    c.forceSent = true;
  }
  if (a.engine.Running() && a.settings.computer) a.SendToEngine("computer");

  s.SetEngineStart(start);
  static const Board standard = [] {
    Board b;
    b.SetFEN(kStartFen);
    return b;
  }();
  if (s.engineGame.start.Compare(standard) != 0) {
    // Some engines take "setboard" only in force mode, which "new" has left.
    if (a.settings.edit == kEditSetboard && whiteToMove) {
      a.SendToEngine("force");
      c.forceSent = true;
    }
    a.SendToEngine(BuildPositionText(a.settings.edit, s.engineGame.start.ToFEN(),
                                     a.engine.usermoveFeature, a.engine.sanFeature));
  }
}

void SendClockAndLimits(SearchRecords& a, const GoRequest& go) {
  SearchContext& s = a.search;
  if (a.engine.timeFeature) {
    if (s.engineTime >= 0) a.SendToEngine("time " + std::to_string(s.engineTime / 10));
    if (s.opponentTime >= 0) a.SendToEngine("otim " + std::to_string(s.opponentTime / 10));
  }
  if (go.depth > 0) {
    a.SendToEngine(DepthCommand(a.settings.levelType, go.depth));
    s.heldDepth = go.depth == kUnlimitedDepth ? -1 : go.depth;
  }
  if (go.movetime > 0) {
    a.SendToEngine(MoveTimeCommand(go.movetime));
    s.heldMoveTime = true;
  }
}

void SendNewMoves(SearchRecords& a, const GoRequest& go, SyncCounts& c,
                  const std::function<void()>& beforeStart) {
  SearchContext& s = a.search;
  int first = 0;
  while (first < std::min(c.newCount, s.engineGame.Count()) &&
         s.guiGame.moves[first].SameMove(s.engineGame.moves[first])) {
    ++first;
  }
  if (s.engineForced) c.forceSent = true;
  if (c.newCount - c.oldCount > 1) {
    a.SendToEngine("force");
    c.forceSent = true;
  } else if (c.newCount == 0 || c.newCount == c.oldCount) {
    c.forceSent = true;
  } else if (a.engine.InForceMode()) {
    // Left in force mode (by analysis, undo or a set-up): the move alone
    // would not start the search.
    c.forceSent = true;
  }
  if (go.infinite && a.settings.analyze && !c.forceSent) {
    a.SendToEngine("force");
    c.forceSent = true;
  }

  bool san = a.engine.sanFeature;
  // Only SAN needs the position of each move: a legality test per move of a
  // long game is not spent on coordinates.
  Board scratch = san ? s.EnginePosition() : Board();
  bool usermove = a.engine.usermoveFeature;
  s.TruncateEngineGame(first);
  for (int i = first; i < s.guiGame.Count(); ++i) {
    bool starts = !c.forceSent && i == c.newCount - 1;
    if (starts) {
      SendClockAndLimits(a, go);
      beforeStart();
    }
    MoveInfo move = s.guiGame.moves[i];
    s.AppendEngineMove(move);
    std::string text = san ? MoveToText(scratch, move, MoveTextStyle::kSan) : MoveToCoord(move);
    a.SendToEngine(usermove ? "usermove " + text : text);
    if (san) scratch.MakeMove(move, true);
  }
}

}  // namespace vantro
