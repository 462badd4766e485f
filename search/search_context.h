#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "chess/board.h"
#include "chess/game_record.h"
#include "platform/stopwatch.h"
#include "search/go_request.h"
#include "search/move_deadline.h"
#include "search/position_command.h"
#include "search/time_control.h"

namespace vantro {

enum class SearchState : int { kIdle = 0, kThinking = 1, kPondering = 2, kAnalyzing = 3 };
enum class StatusPoll : int { kOff = 0, kArmed = 1, kActive = 2 };

// The state the GUI thread (position, go, stop, ponderhit) and the engine
// reader thread (the engine's moves and thinking) hand a search over with.
//
// `mutex` guards every plain field below. The GUI thread holds it for a whole
// command and the engine reader for a whole engine line; every wait of one
// side for the other is a wait on `changed`, which releases the mutex, so the
// other side can make progress and wakes the waiter the moment the state
// moves. The atomics are also read without the mutex (status timer, engine
// start and stop).
struct SearchContext {
  // A "go" before any "position" searches the start position.
  SearchContext() { guiGame.start.SetFEN(kStartFen); }
  std::mutex mutex;
  std::condition_variable changed;

  std::atomic<SearchState> state{SearchState::kIdle};
  std::atomic<StatusPoll> statusPoll{StatusPoll::kOff};
  std::atomic<bool> stopMove{false};
  std::atomic<bool> engineResigned{false};
  std::atomic<bool> thinkingOutputEnabled{false};
  // The GUI is owed one "bestmove" for its last "go".
  bool bestMoveOwed = false;
  // The last search was answered without the engine's move: a move the
  // engine still sends belongs to it, not to the next search.
  bool answeredForEngine = false;

  bool ponderMoveConfirmed = false;
  MoveInfo pvBestMove;
  MoveInfo pvPonderMove;
  // The text pvBestMove was read from, and the engine game version it and
  // pvPonderMove were found legal in.
  std::string pvBestText;
  unsigned pvGameVersion = 0;
  MoveInfo reportedPonderMove;
  MoveInfo hintMove;
  int lastScore = 1;
  int lastDepth = 1;

  GameRecord guiGame;
  PositionReader positionReader;  // fills guiGame
  // Read freely; changed only through ClearEngineGame, SetEngineStart,
  // AppendEngineMove and TruncateEngineGame, which keep EnginePosition() in
  // step.
  GameRecord engineGame;
  Board engineBoard;  // the engine reader's scratch board

  std::atomic<int> depthLimit{-1};
  // What the engine still holds from earlier searches. Several engines keep
  // "sd" and "st" across "new", so only what was sent counts.
  int heldDepth = -1;         // the depth limit last sent, -1 none
  bool heldMoveTime = false;  // "st" or a one-move control of a fixed move time
  // "exit" after analysis leaves the engine in force mode.
  bool engineForced = false;
  int engineTime = -1;
  int opponentTime = -1;
  LevelMemory level;
  CountdownStopwatch searchClock;
  CountdownStopwatch ponderClock;
  int savedMovesToGo = -1;
  int savedMoveTime = -1;      // a fixed time per move outlives the ponder search
  bool ponderPending = false;  // a "go ponder" waits for its ponderhit
  // A search whose set-up the engine refused is set up once more, as the
  // position alone, after the engine's "pong" to `retryPing` shows every
  // reply to the refused set-up has been read.
  GoRequest lastGo;
  bool setUpRetried = false;
  int retryPing = 0;
  int pingCount = 0;
  // Counts the searches, so that a deadline knows its own.
  unsigned searchNumber = 0;
  MoveDeadline moveDeadline;
  MoveNowLag moveNowLag;

 private:
  Board enginePosition_;
  int positionMoves_ = 0;
  bool enginePositionValid_ = false;
  unsigned engineGameVersion_ = 0;

 public:
  // Changes the state and wakes every waiter. Call with `mutex` held.
  void SetState(SearchState s) {
    state = s;
    changed.notify_all();
  }
  // Waits (releasing the held lock) until the state is no longer `s`, at most
  // `limit`. True when it changed.
  template <class Rep, class Period>
  bool WaitWhile(std::unique_lock<std::mutex>& lock, SearchState s,
                 std::chrono::duration<Rep, Period> limit) {
    return changed.wait_for(lock, limit, [&] { return state != s; });
  }
  // The engine game replayed. Thinking lines need it each, and a replay costs
  // a legality test per move, so it is kept until the game changes other
  // than by a move at its end.
  const Board& EnginePosition() {
    if (!enginePositionValid_) {
      enginePosition_ = engineGame.Replay();
      positionMoves_ = engineGame.Count();
      enginePositionValid_ = true;
    }
    return enginePosition_;
  }
  // Changes with every change of the engine game.
  unsigned EngineGameVersion() const { return engineGameVersion_; }
  void ClearEngineGame() {
    ++engineGameVersion_;
    engineGame.Clear();
    enginePositionValid_ = false;
  }
  void SetEngineStart(const Board& start) {
    ++engineGameVersion_;
    engineGame.start = start;
    enginePositionValid_ = false;
  }
  void AppendEngineMove(const MoveInfo& move) {
    ++engineGameVersion_;
    engineGame.moves.push_back(move);
    if (enginePositionValid_ && positionMoves_ + 1 == engineGame.Count()) {
      // Every move of a game was found legal when it was read (the GUI's) or
      // parsed (the engine's): the test Replay makes is not made again.
      MoveInfo made = move;
      enginePosition_.MakeMove(made, false);
      ++positionMoves_;
    } else {
      enginePositionValid_ = false;
    }
  }
  // Keeps the first `count` moves.
  void TruncateEngineGame(int count) {
    if (count >= engineGame.Count()) return;
    ++engineGameVersion_;
    engineGame.moves.resize(count);
    enginePositionValid_ = false;
  }

  void ResetPvMoves(bool full) {
    pvBestMove = MoveInfo{};
    pvPonderMove = MoveInfo{};
    if (full) {
      lastScore = 1;
      lastDepth = 1;
    } else {
      if (lastScore == 0) lastScore = 1;
      if (lastDepth < 1) lastDepth = 1;
    }
  }
};

}  // namespace vantro
