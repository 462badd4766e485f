#pragma once

#include "chess/board.h"

namespace vantro {

// Pseudo-legal and legal move generation on fixed arrays; no allocation.
// Order: origin squares ascending (a1, b1, .. h8); knights in the knight
// table's order; kings, bishops, rooks, queens along their direction tables;
// promotions queen, rook, bishop, knight; castling after the king's steps.
// GenerateLegal removes illegal entries by moving the last entry into their
// place, so from the start position the first legal move is b1a3.
namespace MoveGenerator {
bool IsAttacked(const Board& board, int square, int bySide);
bool InCheck(const Board& board, int side);
void GeneratePseudoLegal(const Board& board, MoveList& list);
// The same for the piece on `from` only, in the same order.
void GeneratePseudoLegalFrom(const Board& board, int from, MoveList& list);
void GenerateLegal(const Board& board, MoveList& list);
// Legality of a decoded move: no castling out of or through check, no move
// that leaves the mover's king attacked. Geometry is not tested.
bool IsLegal(const Board& board, const MoveInfo& move);
}  // namespace MoveGenerator

// Counts the leaf nodes of the legal move tree to `depth`.
std::uint64_t Perft(Board& board, int depth);

}  // namespace vantro
