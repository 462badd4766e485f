#pragma once

#include <array>

#include "chess/board.h"

namespace vantro {

// A game: the start position and up to kMaxMoves moves. The moves are the
// leading non-empty entries; the first empty entry ends them, and every entry
// after it is empty too (moves are appended at the end and taken off it).
struct GameRecord {
  static constexpr int kMaxMoves = 1024;

  Board start;
  std::array<MoveInfo, kMaxMoves> moves{};

  // Empties the used entries only: a game is cleared for every position the
  // GUI sends, and wiping all kMaxMoves entries cost more than the rest.
  void Clear() {
    start.Clear();
    for (int i = 0; i < kMaxMoves && !moves[i].Empty(); ++i) moves[i] = MoveInfo{};
  }
  int Count() const {
    int n = 0;
    while (n < kMaxMoves && !moves[n].Empty()) ++n;
    return n;
  }
  // White is to move after the game.
  bool WhiteToMoveAfter() const {
    int n = Count();
    return (n % 2 == 0) == (start.sideToMove == kWhite);
  }
  // The start position with every move made on it (legality checked,
  // results not examined).
  Board Replay() const {
    Board board = start;
    for (int i = 0; i < kMaxMoves && !moves[i].Empty(); ++i) {
      MoveInfo m = moves[i];
      board.MakeMove(m, true);
    }
    return board;
  }
};

}  // namespace vantro
