#include "chess/move_generator.h"

#include <algorithm>
#include <array>

#include "chess/castling_squares.h"

namespace vantro {

namespace {

constexpr int kKnightDirections[8] = {14, 31, 33, 18, -14, -31, -33, -18};
constexpr int kKingDirections[8] = {-1, 15, 16, 17, 1, -15, -16, -17};
constexpr int kBishopDirections[4] = {15, 17, -15, -17};
constexpr int kRookDirections[4] = {-1, 16, 1, -16};

// For each 0x88 index, its on-board knight destinations in the order of
// kKnightDirections; unused slots hold kNoSquare.
using KnightTable = std::array<std::array<int, 8>, 128>;
constexpr KnightTable BuildKnightTable() {
  KnightTable table{};
  for (int square = 0; square < 128; ++square) {
    int n = 0;
    for (int d : kKnightDirections) {
      if (OnBoard(square) && OnBoard(square + d)) table[square][n++] = square + d;
    }
    while (n < 8) table[square][n++] = kNoSquare;
  }
  return table;
}
constexpr KnightTable kKnightTargets = BuildKnightTable();

int Opponent(int side) {
  return side == kWhite ? kBlack : kWhite;
}
int NormalSide(int side) {
  return side == kWhite ? kWhite : kBlack;
}

bool IsOwn(int piece, int side) {
  return piece >= 1 && piece <= 12 && ColourOf(piece) == side;
}
bool IsEnemy(int piece, int side) {
  return IsOwn(piece, Opponent(side));
}

void Push(MoveList& list, int from, int to, int flags, int captured, int promotion = kEmpty) {
  MoveInfo move;
  move.from = from;
  move.to = to;
  move.flags = flags;
  move.captured = captured;
  move.promotion = promotion;
  list.Add(move);
}

// A pawn arriving on its last rank becomes one of four pieces.
void PushPawnMove(MoveList& list, int from, int to, int flags, int captured, int side) {
  const int lastRank = side == kWhite ? 7 : 0;
  if (RankOf(to) != lastRank) {
    Push(list, from, to, flags, captured);
    return;
  }
  for (int kind : {kWhiteQueen, kWhiteRook, kWhiteBishop, kWhiteKnight}) {
    Push(list, from, to, flags | kFlagPromotion, captured, Colored(kind, side));
  }
}

void GeneratePawn(const Board& board, int from, int side, MoveList& list) {
  const int forward = side == kWhite ? 16 : -16;
  const int startRank = side == kWhite ? 1 : 6;
  const int one = from + forward;
  if (OnBoard(one) && board.Square(one) == kEmpty) {
    PushPawnMove(list, from, one, kFlagPawn, kEmpty, side);
    const int two = one + forward;
    if (RankOf(from) == startRank && board.Square(two) == kEmpty) {
      Push(list, from, two, kFlagPawn | kFlagDoublePush, kEmpty);
    }
  }
  const int epRank = side == kWhite ? 5 : 2;
  for (int d : {forward - 1, forward + 1}) {
    const int to = from + d;
    if (!OnBoard(to)) continue;
    const int target = board.Square(to);
    if (IsEnemy(target, side)) {
      PushPawnMove(list, from, to, kFlagPawn | kFlagCapture, target, side);
    } else if (target == kEmpty && to == board.enPassant && RankOf(to) == epRank &&
               board.Square(to - forward) == Colored(kWhitePawn, Opponent(side))) {
      Push(list, from, to, kFlagPawn | kFlagCapture | kFlagEnPassant, kEmpty);
    }
  }
}

void GenerateKnight(const Board& board, int from, int side, MoveList& list) {
  for (int to : kKnightTargets[from]) {
    if (to == kNoSquare) break;
    const int target = board.Square(to);
    if (!IsOwn(target, side)) Push(list, from, to, target ? kFlagCapture : 0, target);
  }
}

template <std::size_t N>
void GenerateSlides(const Board& board, int from, int side, const int (&directions)[N],
                    MoveList& list) {
  for (int d : directions) {
    for (int to = from + d; OnBoard(to); to += d) {
      const int target = board.Square(to);
      if (IsOwn(target, side)) break;
      Push(list, from, to, target ? kFlagCapture : 0, target);
      if (target != kEmpty) break;
    }
  }
}

// Castling needs the king and the rook on their home squares and the squares
// between them empty; whether the squares are attacked is the legal filter's.
void GenerateCastling(const Board& board, int from, int side, MoveList& list) {
  for (const CastlingGeometry& c : kCastlings) {
    if (!(board.castling & c.right) || c.kingAt != from || ColourOf(c.rook) != side) continue;
    if (board.Square(c.corner) != c.rook) continue;
    const int step = c.corner > from ? 1 : -1;
    bool clear = true;
    for (int s = from + step; s != c.corner; s += step) clear = clear && board.Square(s) == kEmpty;
    if (clear) Push(list, from, c.kingTo, kFlagCastling, kEmpty);
  }
}

void GenerateKing(const Board& board, int from, int side, MoveList& list) {
  for (int d : kKingDirections) {
    const int to = from + d;
    if (!OnBoard(to)) continue;
    const int target = board.Square(to);
    if (!IsOwn(target, side)) Push(list, from, to, target ? kFlagCapture : 0, target);
  }
  GenerateCastling(board, from, side, list);
}

// Squares of the kings of `side`; a board may hold none or several.
struct KingSquares {
  std::array<int, 64> squares;
  int count = 0;
};
KingSquares FindKings(const Board& board, int side) {
  KingSquares kings;
  kings.count = board.SquaresOf(Colored(kWhiteKing, side), kings.squares);
  return kings;
}

// Whether any of `kings` (after `move` was made on `board`) is attacked.
bool KingsAttacked(const Board& board, const KingSquares& kings, const MoveInfo& move, int side) {
  for (int i = 0; i < kings.count; ++i) {
    const int square = kings.squares[i] == move.from ? move.to : kings.squares[i];
    if (MoveGenerator::IsAttacked(board, square, Opponent(side))) return true;
  }
  return false;
}

// The legality test on a scratch board that is the position itself; the
// board is returned unchanged.
bool LegalOnScratch(Board& scratch, MoveInfo& move, int side, const KingSquares& kings) {
  if (move.flags & kFlagCastling) {
    const int passed = std::max(move.from, move.to) - 1;
    if (MoveGenerator::IsAttacked(scratch, move.from, Opponent(side)) ||
        MoveGenerator::IsAttacked(scratch, passed, Opponent(side))) {
      return false;
    }
  }
  if (!scratch.MakeMove(move, false)) return false;
  const bool attacked = KingsAttacked(scratch, kings, move, side);
  scratch.UnmakeMove(move);
  return !attacked;
}

}  // namespace

namespace MoveGenerator {

bool IsAttacked(const Board& board, int square, int bySide) {
  if (!OnBoard(square)) return false;
  const int by = NormalSide(bySide);
  const int pawn = Colored(kWhitePawn, by);
  const int behind = by == kWhite ? -16 : 16;
  if (FileOf(square) > 0 && board.Square(square + behind - 1) == pawn) return true;
  if (FileOf(square) < 7 && board.Square(square + behind + 1) == pawn) return true;

  const int knight = Colored(kWhiteKnight, by);
  for (int from : kKnightTargets[square]) {
    if (from == kNoSquare) break;
    if (board.Square(from) == knight) return true;
  }
  const int king = Colored(kWhiteKing, by);
  for (int d : kKingDirections) {
    if (board.Square(square + d) == king) return true;
  }
  const int queen = Colored(kWhiteQueen, by);
  const int bishop = Colored(kWhiteBishop, by);
  const int rook = Colored(kWhiteRook, by);
  for (int d : kBishopDirections) {
    for (int s = square + d; OnBoard(s); s += d) {
      const int piece = board.Square(s);
      if (piece == bishop || piece == queen) return true;
      if (piece != kEmpty) break;
    }
  }
  for (int d : kRookDirections) {
    for (int s = square + d; OnBoard(s); s += d) {
      const int piece = board.Square(s);
      if (piece == rook || piece == queen) return true;
      if (piece != kEmpty) break;
    }
  }
  return false;
}

bool InCheck(const Board& board, int side) {
  const int own = NormalSide(side);
  const KingSquares kings = FindKings(board, own);
  for (int i = 0; i < kings.count; ++i) {
    if (IsAttacked(board, kings.squares[i], Opponent(own))) return true;
  }
  return false;
}

namespace {

void GenerateFromSquare(const Board& board, int from, int side, MoveList& list) {
  const int piece = board.Square(from);
  if (!IsOwn(piece, side)) return;
  switch (FoldPiece(piece)) {
    case kWhitePawn:
      GeneratePawn(board, from, side, list);
      break;
    case kWhiteKnight:
      GenerateKnight(board, from, side, list);
      break;
    case kWhiteBishop:
      GenerateSlides(board, from, side, kBishopDirections, list);
      break;
    case kWhiteRook:
      GenerateSlides(board, from, side, kRookDirections, list);
      break;
    case kWhiteQueen:
      GenerateSlides(board, from, side, kBishopDirections, list);
      GenerateSlides(board, from, side, kRookDirections, list);
      break;
    case kWhiteKing:
      GenerateKing(board, from, side, list);
      break;
  }
}

}  // namespace

void GeneratePseudoLegal(const Board& board, MoveList& list) {
  list.count = 0;
  const int side = NormalSide(board.sideToMove);
  for (int from = 0; from < 128; ++from) {
    if (OnBoard(from)) GenerateFromSquare(board, from, side, list);
  }
}

void GeneratePseudoLegalFrom(const Board& board, int from, MoveList& list) {
  list.count = 0;
  if (OnBoard(from)) GenerateFromSquare(board, from, NormalSide(board.sideToMove), list);
}

void GenerateLegal(const Board& board, MoveList& list) {
  GeneratePseudoLegal(board, list);
  const int side = NormalSide(board.sideToMove);
  const KingSquares kings = FindKings(board, side);
  Board scratch = board;
  // A dropped entry is replaced by the last one, which is tested in its turn.
  int i = 0;
  while (i < list.count) {
    if (LegalOnScratch(scratch, list.moves[i], side, kings)) {
      ++i;
    } else {
      list.moves[i] = list.moves[list.count - 1];
      --list.count;
    }
  }
}

bool IsLegal(const Board& board, const MoveInfo& move) {
  if (move.from == move.to || !OnBoard(move.from) || !OnBoard(move.to)) return false;
  const int piece = board.Square(move.from);
  if (piece < 1 || piece > 12) return false;
  const int side = ColourOf(piece);
  Board scratch = board;
  MoveInfo copy = move;
  return LegalOnScratch(scratch, copy, side, FindKings(board, side));
}

}  // namespace MoveGenerator

std::uint64_t Perft(Board& board, int depth) {
  if (depth <= 0) return 1;
  MoveList list;
  MoveGenerator::GenerateLegal(board, list);
  if (depth == 1) return static_cast<std::uint64_t>(list.count);
  std::uint64_t nodes = 0;
  for (int i = 0; i < list.count; ++i) {
    MoveInfo& move = list.moves[i];
    board.MakeMove(move, false);
    nodes += Perft(board, depth - 1);
    board.UnmakeMove(move);
  }
  return nodes;
}

}  // namespace vantro
