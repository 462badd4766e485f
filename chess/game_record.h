#pragma once

#include <vector>

#include "chess/board.h"

namespace vantro {

// A game: the start position and its moves, as many as were played; only
// the GUI's "position" line and the engine's replies add to it.
struct GameRecord {
  Board start;
  std::vector<MoveInfo> moves;

  void Clear() {
    start.Clear();
    moves.clear();
  }
  int Count() const { return static_cast<int>(moves.size()); }
  // White is to move after the game.
  bool WhiteToMoveAfter() const { return (moves.size() % 2 == 0) == (start.sideToMove == kWhite); }
  // The start position with every move made on it (legality checked,
  // results not examined).
  Board Replay() const {
    Board board = start;
    for (MoveInfo m : moves) board.MakeMove(m, true);
    return board;
  }
  // How many times the position after the last move stood in the game,
  // that one included.
  int TimesLastPositionStood() const {
    const Board last = Replay();
    Board board = start;
    int times = board.Compare(last) == 0 ? 1 : 0;
    for (MoveInfo m : moves) {
      board.MakeMove(m, true);
      times += board.Compare(last) == 0 ? 1 : 0;
    }
    return times;
  }
};

}  // namespace vantro
