#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "board_editor.h"
#include "chess/board.h"
#include "engine_io.h"
#include "script.h"

namespace vantro::fake {

// Play mode: keeps the game the xboard commands describe and plays random
// legal moves when it is the engine's turn outside force mode. Commands are
// handled on the dispatcher thread; the search waits out its delay on a
// thread of its own, so that "?", "force" or "new" received meanwhile take
// effect. One mutex guards all game state; output is printed while holding
// it, so a move and the board change it makes are one step for the commands.
class GameKeeper {
 public:
  GameKeeper(const Script& script, EngineLog& log, EngineOutput& output);
  ~GameKeeper();  // ends the search thread; a pending move is dropped
  GameKeeper(const GameKeeper&) = delete;
  GameKeeper& operator=(const GameKeeper&) = delete;

  void OnLine(std::string_view line);

  static constexpr std::chrono::milliseconds kAnalyzeInterval{100};
  // Moves kept for "undo"; older ones are forgotten so a long game stays small.
  static constexpr size_t kMaxHistory = 4096;

 private:
  using Clock = std::chrono::steady_clock;

  // The handlers below run with mutex_ held.
  bool HandleCommand(std::string_view word, std::string_view rest);
  void ReceiveMove(std::string_view text);
  void ApplyMove(MoveInfo move);
  void TakeBack(int count);
  void ResetBoard(const Board& board);
  void StartSearch();
  void StartAnalysis();

  void SearchLoop();
  void PlayMove();
  void PrintAnalysis();
  std::string ThinkingLine(int depth, Clock::time_point since, const MoveInfo& move);
  std::string MoveText(const Board& board, const MoveInfo& move) const;
  int Random(int minimum, int maximum);

  const Script& script_;
  EngineLog& log_;
  EngineOutput& output_;

  std::mutex mutex_;
  std::condition_variable wake_;
  Board board_;
  std::deque<MoveInfo> history_;
  std::optional<BoardEditor> editor_;  // set between "edit" and "."
  bool force_ = false;
  int engineSide_ = kBlack;
  bool searching_ = false;
  Clock::time_point searchStart_;
  Clock::time_point moveAt_;
  bool analyzing_ = false;
  int analysisDepth_ = 0;
  Clock::time_point analysisStart_;
  Clock::time_point nextAnalysis_;
  bool stopping_ = false;
  std::mt19937_64 random_;
  std::thread thread_;  // last: starts once everything above is set up
};

// A word that a bare move could be: coordinates, SAN or castling. Anything
// else received in play mode is an unknown command, not an illegal move.
bool LooksLikeMove(std::string_view text);

}  // namespace vantro::fake
