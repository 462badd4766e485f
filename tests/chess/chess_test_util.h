#pragma once

#include <string>
#include <string_view>

#include "chess/board.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro::testing_chess {

inline constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

inline Board FromFen(std::string_view fen) {
  Board board;
  board.SetFEN(fen);
  return board;
}

// The decoded coordinate move; an empty move when the text does not decode.
inline MoveInfo Decoded(const Board& board, std::string_view text) {
  MoveInfo move;
  DecodeCoordMove(board, move, text);
  return move;
}

inline int Sq(std::string_view name) {
  return MakeSquare(name[0] - 'a', name[1] - '1');
}

}  // namespace vantro::testing_chess
