#pragma once

#include <string>
#include <string_view>

#include "chess/board.h"

namespace vantro {

// Coordinate text ("e2e4", "e7e8q") to a move on `board`, without a legality
// test. False when the text is no coordinate move or the origin is empty.
bool DecodeCoordMove(const Board& board, MoveInfo& move, std::string_view text);

// "e2e4", or "e7e8q" for a promotion.
std::string MoveToCoord(const MoveInfo& move);

// SAN, coordinate or castling text resolved against the legal moves of
// `board`. An empty move with status kParseUnreadable or kParseNoUniqueMove
// when the text is no unique legal move.
MoveInfo ParseMove(const Board& board, std::string_view text);

enum class MoveTextStyle : int { kSanEp = 0, kSan = 1, kLong = 2, kCoord = 3 };
// Empty when the move is not legal on `board`.
std::string MoveToText(const Board& board, const MoveInfo& move, MoveTextStyle style);

}  // namespace vantro
