#pragma once

#include "chess/board.h"

namespace vantro {

// Where each castling puts the king and its rook, in the order of the
// castling bits (K, Q, k, q). Shared by generation and MakeMove.
struct CastlingGeometry {
  int right;   // castling bit
  int kingAt;  // home square of the king
  int kingTo;
  int corner;  // home square of the rook
  int rookTo;
  int rook;  // the rook's piece code
};

inline constexpr CastlingGeometry kCastlings[4] = {
    {kWhiteShort, MakeSquare(4, 0), MakeSquare(6, 0), MakeSquare(7, 0), MakeSquare(5, 0),
     kWhiteRook},
    {kWhiteLong, MakeSquare(4, 0), MakeSquare(2, 0), MakeSquare(0, 0), MakeSquare(3, 0),
     kWhiteRook},
    {kBlackShort, MakeSquare(4, 7), MakeSquare(6, 7), MakeSquare(7, 7), MakeSquare(5, 7),
     kBlackRook},
    {kBlackLong, MakeSquare(4, 7), MakeSquare(2, 7), MakeSquare(0, 7), MakeSquare(3, 7),
     kBlackRook},
};

// The castling whose king lands on `kingTo`, or nullptr.
inline const CastlingGeometry* CastlingByKingTarget(int kingTo) {
  for (const CastlingGeometry& c : kCastlings) {
    if (c.kingTo == kingTo) return &c;
  }
  return nullptr;
}

}  // namespace vantro
