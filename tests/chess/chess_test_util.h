#pragma once

#include <string_view>

#include "chess/board.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro::testing_chess {

inline constexpr const char* kKiwipeteFen =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";

inline constexpr MoveTextStyle kAllStyles[] = {MoveTextStyle::kSanEp, MoveTextStyle::kSan,
                                               MoveTextStyle::kLong, MoveTextStyle::kCoord};

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

}  // namespace vantro::testing_chess
