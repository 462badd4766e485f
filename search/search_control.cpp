#include "search/search_control.h"

#include <algorithm>
#include <chrono>

#include "engine/engine_control.h"
#include "search/best_move.h"
#include "search/game_sync.h"
#include "search/go_request.h"
#include "search/search_records.h"
#include "search/time_control.h"

namespace vantro {
namespace {

constexpr int kInfiniteClockMs = 8640000;
constexpr auto kStopWait = std::chrono::milliseconds(41 * 250);

// A time control replaces an "st" the engine holds.
void SendClockLevel(SearchRecords& a, int moves, int baseSeconds, int incrementSeconds) {
  SendLevel(a.engine, a.settings, moves, baseSeconds, incrementSeconds);
  a.search.heldMoveTime = false;
}

// A fixed move time as a control of one move in that time (whole seconds,
// at least one); the exact time reaches the engine through "time".
void SendMoveTimeLevel(SearchRecords& a, int movetimeMs) {
  int seconds = std::max(1, (movetimeMs + 999) / 1000);
  SendLevel(a.engine, a.settings, 1, seconds, 0);
  a.search.level = LevelMemory{1, seconds / 60, 0};
  a.search.heldMoveTime = true;
}

// The engine's own limit is whole seconds, rounded up; at the GUI's movetime,
// less the time the engine takes to obey, the engine is told to move now.
void ArmMoveDeadline(SearchRecords& a, int movetimeMs) {
  const unsigned search = a.search.searchNumber;
  a.search.moveDeadline.Arm(movetimeMs - a.search.moveNowLag.LeadMs(movetimeMs), [&a, search] {
    std::lock_guard lock(a.search.mutex);
    if (a.search.state != SearchState::kThinking || a.search.searchNumber != search) return;
    a.Log("Move time used up.", kTagDispatcher);
    a.search.moveNowLag.Sent(search);
    a.SendToEngine(a.settings.moveNow);
  });
}

// A clock on which an engine that budgets a small share per move plans about
// the movetime or more; the deadline's move-now keeps it within.
int ClockForMoveTime(int movetimeMs) {
  constexpr int kShare = 30;
  return static_cast<int>(std::min<long long>(1LL * movetimeMs * kShare, 86400000));
}

// The time-control step; false when the go ended by running a fresh one.
bool ApplyTimeControl(SearchRecords& a, std::unique_lock<std::mutex>& lock, std::string_view line,
                      const GoRequest& go, const SyncCounts& c, bool fullReset, bool whiteToMove);

void Go(SearchRecords& a, std::unique_lock<std::mutex>& lock, std::string_view line,
        bool fromPonderHit) {
  SearchContext& s = a.search;
  s.thinkingOutputEnabled = false;
  GoRequest go = ParseGo(line);
  // The GUI waits for one "bestmove" for every "go", whatever kind.
  s.bestMoveOwed = true;
  s.ponderPending = go.ponder;
  s.setUpRetried = false;
  s.retryPing = 0;
  if (go.searchmoves) {
    s.thinkingOutputEnabled = true;
    return;
  }

  bool whiteToMove = s.guiGame.WhiteToMoveAfter();
  s.engineTime = whiteToMove ? go.wtime : go.btime;
  s.opponentTime = whiteToMove ? go.btime : go.wtime;
  s.statusPoll = a.settings.showThinkingMove ? StatusPoll::kArmed : StatusPoll::kOff;
  s.depthLimit = go.depth;
  // Engines keep a depth limit for later searches, across "new" too.
  if (go.depth <= 0 && s.heldDepth > 0) go.depth = kUnlimitedDepth;
  if (!fromPonderHit) a.SendToGui("info depth 1 score cp 1");

  if (go.ponder) {
    if (s.opponentTime > 0) {
      s.ponderClock.Set(s.opponentTime);
      s.ponderClock.Start();
    } else {
      s.ponderClock.Reset();
    }
    s.savedMovesToGo = go.movestogo;
    s.savedMoveTime = go.movetime;
    s.thinkingOutputEnabled = true;
    return;
  }
  if (go.infinite) s.engineTime = s.opponentTime = kInfiniteClockMs;
  const int movetime = go.movetime;
  const bool moveTimeLevel = go.movetime > 0 && a.settings.moveTime == kMoveTimeLevel;
  if (moveTimeLevel) {
    s.engineTime = go.movetime;
    if (s.opponentTime < 0) s.opponentTime = go.movetime;
  }
  if (go.movetime > 0 && a.settings.moveTime == kMoveTimeClock) {
    s.engineTime = s.opponentTime = ClockForMoveTime(go.movetime);
    go.movetime = -1;  // the deadline keeps it
  }

  SyncCounts c = CompareGames(a, go);
  bool fullReset = false;
  if (c.oldCount == 0) {
    FullSetUp(a, lock, c, whiteToMove);
    if (go.infinite && !a.settings.analyze) {
      SendClockLevel(a, 1, 86400, 0);
      s.level = LevelMemory{1, 1440, 0};
    }
    fullReset = true;
    s.searchClock.Reset();
    s.ponderClock.Reset();
  }

  bool analyzing = go.infinite && a.settings.analyze;
  if (go.infinite) {
    if (a.settings.noise == -1) {
      // Analysis without thinking output would show nothing.
      a.settings.noise = 0;
      SendPostMode(a.engine, a.settings);
      a.settings.noise = -1;
    }
    if (s.heldMoveTime && !analyzing) {
      SendClockLevel(a, 1, 86400, 0);
      s.level = LevelMemory{1, 1440, 0};
    }
  } else if (moveTimeLevel) {
    SendMoveTimeLevel(a, go.movetime);
    go.movetime = -1;
  } else if (!ApplyTimeControl(a, lock, line, go, c, fullReset, whiteToMove)) {
    return;
  }

  if (s.engineResigned) {
    ForceBestMove(a);
    return;
  }
  s.lastGo = go;

  // The search's state is in place before the line that starts it is
  // written, so an engine that answers at once is heard in full.
  auto arm = [&] {
    s.SetState(analyzing ? SearchState::kAnalyzing : SearchState::kThinking);
    s.stopMove = false;
    s.answeredForEngine = false;
    ++s.searchNumber;
    if (movetime > 0 && !analyzing) ArmMoveDeadline(a, movetime);
    // An infinite search runs no clock that the next control could owe
    // anything to.
    if (go.infinite) {
      s.searchClock.Reset();
    } else {
      s.searchClock.Set(std::max(s.engineTime, 0));
      s.searchClock.Start();
    }
    s.thinkingOutputEnabled = true;
  };
  SendNewMoves(a, go, c, arm);
  if (!c.forceSent) return;  // the single new move started the search

  arm();
  s.engineForced = false;
  if (analyzing) {
    if (s.heldDepth > 0) {
      a.SendToEngine(DepthCommand(a.settings.levelType, kUnlimitedDepth));
      s.heldDepth = -1;
    }
    a.SendToEngine("analyze");
    return;
  }
  SendClockAndLimits(a, go);
  if (a.engine.colorsFeature) a.SendToEngine(whiteToMove ? "white" : "black");
  a.SendToEngine("go");
}

bool ApplyTimeControl(SearchRecords& a, std::unique_lock<std::mutex>& lock, std::string_view line,
                      const GoRequest& go, const SyncCounts& c, bool fullReset, bool whiteToMove) {
  SearchContext& s = a.search;
  TimeControlInput in;
  in.go = go;
  in.newCount = c.newCount;
  in.oldCount = c.oldCount;
  in.fullReset = fullReset;
  in.whiteToMove = whiteToMove;
  in.engineTime = s.engineTime;
  in.remainingMs = static_cast<int>(std::min<std::uint32_t>(s.searchClock.Elapsed(), 2147483647u));
  in.levelExtend = a.settings.levelExtend;
  in.mustSend = s.heldMoveTime && go.movetime <= 0;
  TimeControlDecision d = DecideTimeControl(in, s.level);
  switch (d.action) {
    case TimeControlDecision::Action::kNothing:
      break;
    case TimeControlDecision::Action::kSendLevel:
      SendClockLevel(a, d.moves, d.baseSeconds, d.incrementSeconds);
      break;
    case TimeControlDecision::Action::kRestartGame:
      // Failsafe: rather than correct the engine's clock mid-game, give it
      // the game afresh under the new control.
      s.ClearEngineGame();
      Go(a, lock, line, false);
      return false;
  }
  s.level = d.memory;
  return true;
}

}  // namespace

void HandleGo(SearchRecords& a, std::string_view line, bool fromPonderHit) {
  // The lines of a go reach the engine in one write, once the search lock
  // is free for the engine's answer; the GUI's line follows in one write.
  LinesHeld guiHeld(a.gui);
  LinesHeld held(a.engine);
  std::unique_lock lock(a.search.mutex);
  Go(a, lock, line, fromPonderHit);
}

void HandlePonderHit(SearchRecords& a) {
  LinesHeld guiHeld(a.gui);
  LinesHeld held(a.engine);
  std::unique_lock lock(a.search.mutex);
  SearchContext& s = a.search;
  if (!s.ponderPending) {
    a.Log("No ponder search to hit.", kTagDispatcher);
    return;
  }
  std::string text = "go";
  if (s.savedMovesToGo >= 0) {
    text += " movestogo " + std::to_string(s.savedMovesToGo);
    s.savedMovesToGo = -1;
  }
  if (s.savedMoveTime > 0) {
    text += " movetime " + std::to_string(s.savedMoveTime);
    s.savedMoveTime = -1;
  }
  if (s.depthLimit > 0) text += " depth " + std::to_string(s.depthLimit.load());
  if (s.engineTime >= 0) {
    long long other = static_cast<long long>(s.ponderClock.Elapsed()) + s.level.increment * 1000LL;
    bool white = s.guiGame.WhiteToMoveAfter();
    text += (white ? " wtime " : " btime ") + std::to_string(s.engineTime);
    if (other > 0) text += (white ? " btime " : " wtime ") + std::to_string(other);
    s.ponderClock.Reset();
  }
  Go(a, lock, text, true);
}

void HandleStop(SearchRecords& a) {
  std::unique_lock lock(a.search.mutex);
  SearchContext& s = a.search;
  s.statusPoll = StatusPoll::kOff;
  s.ponderPending = false;
  SearchState state = s.state;
  if (state == SearchState::kThinking) {
    a.SendToEngine(a.settings.moveNow);
    if (!s.WaitWhile(lock, SearchState::kThinking, kStopWait)) {
      ForgetEngineGame(a);
      ForceBestMove(a);
    }
  } else if (state == SearchState::kAnalyzing) {
    a.SendToEngine(a.settings.exitAnalysis);
    s.engineForced = true;
    ForceBestMove(a);
  } else {
    ForceBestMove(a);
  }
}

}  // namespace vantro
