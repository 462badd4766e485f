#pragma once

#include <optional>
#include <string_view>

#include "base/text.h"

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

// `fen` after the coordinate moves in `moves`; nothing when one is not legal.
inline std::optional<Board> Replayed(std::string_view fen, std::string_view moves) {
  Board board = FromFen(fen);
  for (std::string_view text : SplitWords(moves)) {
    MoveInfo move = ParseMove(board, text);
    if (MoveToCoord(move) != text || !board.MakeMove(move, true)) return {};
  }
  return board;
}

// Whether `move` is a legal move, in coordinates, after `moves` from `fen`.
inline bool IsLegalAfter(std::string_view fen, std::string_view moves, std::string_view move) {
  const std::optional<Board> board = Replayed(fen, moves);
  const MoveInfo parsed = board ? ParseMove(*board, move) : MoveInfo{};
  return !parsed.Empty() && MoveToCoord(parsed) == move;
}

}  // namespace vantro::testing_chess
