#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "chess/board.h"
#include "engine_io.h"
#include "script.h"

namespace vantro::fake {

// Play mode: keeps the game the xboard commands describe and plays random
// legal moves when it is the engine's turn outside force mode. Commands come
// from the dispatcher thread; the move delay runs out on a thread of its own,
// so that "?", "force" or "new" received meanwhile take effect. One mutex
// guards all game state and is held while printing, so a move and the board
// change it makes are one step for the commands.
class GameKeeper {
 public:
  GameKeeper(const Script& script, EngineIo& io);
  ~GameKeeper();  // ends the search thread; a pending move is dropped
  GameKeeper(const GameKeeper&) = delete;
  GameKeeper& operator=(const GameKeeper&) = delete;

  // Handles "new", "force", "go", "setboard", "usermove" and bare coordinate
  // moves, "?", "analyze" and "exit"; other lines change nothing.
  void OnLine(std::string_view line);

 private:
  using Clock = std::chrono::steady_clock;

  // These run with mutex_ held.
  void ReceiveMove(std::string_view text);
  void SetBoard(std::string_view fen);
  void BoardChanged();
  void StartSearch();
  void SearchLoop();
  // The planned move's line, or the result when there is no move.
  std::string PlayMove();
  std::string ThinkingLine(int depth, const MoveInfo& move);
  MoveInfo RandomMove(const Board& board);  // empty when there is none
  int Random(int minimum, int maximum);

  const Script& script_;
  EngineIo& io_;

  std::mutex mutex_;
  std::condition_variable wake_;
  Board board_;
  bool force_ = false;
  int engineSide_ = kBlack;
  bool searching_ = false;  // never together with analyzing_
  bool analyzing_ = false;
  int analysisDepth_ = 0;
  MoveInfo planned_;          // the move the search's thinking lines announced
  Clock::time_point since_;   // start of the search or analysis
  Clock::time_point wakeAt_;  // time of the move, or of the next analysis line
  bool stopping_ = false;
  std::mt19937_64 random_;
  std::thread thread_;  // last: starts once everything above is set up
};

}  // namespace vantro::fake
