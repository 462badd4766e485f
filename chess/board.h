#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantro {

// 0x88 squares: index = rank * 16 + file (a1 = 0, h1 = 7, a8 = 112, h8 = 119);
// (index & 0x88) != 0 is off the board; kNoSquare stands for "no square".
inline constexpr int kNoSquare = 136;

// Plies without a capture or pawn move after which either side may claim a
// draw; a FEN's clock above the cap is read as the cap.
inline constexpr int kFiftyMovePlies = 100;
inline constexpr int kMaxHalfmoveClock = 9999;

// The standard start position, without move counters.
inline constexpr const char* kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
// True for the 64 board squares, false for every other int (negative, 0x88 holes, >= 128).
inline constexpr bool OnBoard(int square) {
  return static_cast<unsigned>(square) < 128 && (square & 0x88) == 0;
}
inline constexpr int MakeSquare(int file, int rank) {
  return rank * 16 + file;
}
inline constexpr int FileOf(int square) {
  return square & 7;
}
inline constexpr int RankOf(int square) {
  return square >> 4;
}

// Piece codes: 0 empty; white 1 pawn .. 6 king; black 7 pawn .. 12 king.
enum Piece : int {
  kEmpty = 0,
  kWhitePawn = 1,
  kWhiteKnight,
  kWhiteBishop,
  kWhiteRook,
  kWhiteQueen,
  kWhiteKing,
  kBlackPawn = 7,
  kBlackKnight,
  kBlackBishop,
  kBlackRook,
  kBlackQueen,
  kBlackKing,
};
inline constexpr int FoldPiece(int piece) {
  return piece > 6 ? piece - 6 : piece;
}
inline constexpr bool IsWhite(int piece) {
  return piece >= 1 && piece <= 6;
}
inline constexpr bool IsBlack(int piece) {
  return piece >= 7 && piece <= 12;
}
// 0 white, 1 black; only meaningful for a non-empty piece.
inline constexpr int ColourOf(int piece) {
  return piece > 6 ? 1 : 0;
}
// The folded piece kind (1 pawn .. 6 king) in the colour `side`.
inline constexpr int Colored(int kind, int side) {
  return kind + 6 * side;
}

// Castling bits.
inline constexpr int kWhiteShort = 1, kWhiteLong = 2, kBlackShort = 4, kBlackLong = 8;

// Move flags.
inline constexpr int kFlagCapture = 1, kFlagEnPassant = 2, kFlagCastling = 4, kFlagPawn = 8,
                     kFlagDoublePush = 16, kFlagPromotion = 32;

// Move parse status.
inline constexpr int kParseRead = 0, kParseUnreadable = 1, kParseNoUniqueMove = 2;

// One move with what undoing it needs. A record with from == to is the empty
// move; arrays of moves end at the first empty entry.
struct MoveInfo {
  std::int32_t from = 0;
  std::int32_t to = 0;
  std::int32_t flags = 0;
  std::int32_t promotion = 0;  // piece code of the mover's colour, 0 if none
  std::int32_t captured = 0;
  std::int32_t savedCastling = 0;
  std::int32_t savedEnPassant = kNoSquare;
  std::int32_t savedHalfmove = 0;
  std::int32_t status = kParseRead;
  // Filled by MakeMove for UnmakeMove: the pawn an en-passant capture took off
  // its square, or the rook a castling moved; 0 when nothing else moved.
  std::int32_t extraPiece = 0;

  bool Empty() const { return from == to; }
  // Equal moves: same from, to and promotion; nothing else counts.
  bool SameMove(const MoveInfo& other) const {
    return from == other.from && to == other.to && promotion == other.promotion;
  }
};

// Up to kCapacity moves inline; generators drop moves beyond it.
struct MoveList {
  static constexpr int kCapacity = 255;
  std::array<MoveInfo, kCapacity> moves;
  int count = 0;
  void Add(const MoveInfo& m) {
    if (count < kCapacity) moves[count++] = m;
  }
};

enum Side : int { kWhite = 0, kBlack = 1 };

// A position on the 0x88 board. Copyable value type. Nothing is validated:
// a board may hold any number of kings (or none) and pawns on any rank; every
// operation stays on the board and terminates whatever it holds. Text input
// ends at its first NUL byte.
class Board {
 public:
  Board() { Clear(); }

  void Clear();
  // 0 equal, else the first difference: 1 squares, 2 castling, 3 en passant,
  // 4 side to move (the halfmove clock is not compared).
  int Compare(const Board& other) const;
  void Assign(const Board& other) { *this = other; }
  // Both ignore squares off the board (Square gives kEmpty there).
  void SetSquare(int square, int piece) {
    if (OnBoard(square)) squares_[square] = piece;
  }
  int Square(int square) const { return OnBoard(square) ? squares_[square] : kEmpty; }
  // The squares that hold `piece`, a1 to h8, in `out`; gives how many.
  int SquaresOf(int piece, std::array<int, 64>& out) const;

  // Tolerant reading: never rejects; what cannot be read stays cleared.
  void SetFEN(std::string_view text);
  // Placement, side, castling, en passant, then always " 0 1".
  std::string ToFEN() const;

  // With `check`, refuses (and changes nothing) when the move is illegal.
  // Always refuses a move with a square off the board or an empty origin.
  // Fills the move's captured and saved fields for UnmakeMove.
  bool MakeMove(MoveInfo& move, bool check);
  // Undoes the move last made with MakeMove; restores the board exactly.
  void UnmakeMove(const MoveInfo& move);

  // 'N' 2 .. 'K' 6 (upper case only), plus 6 when black is to move; else 0.
  int PieceFromLetter(char letter) const;
  static char LetterFromPiece(int piece);  // 'N'..'K' for folded 2..6, ' ' otherwise

  int castling = 0;
  int enPassant = kNoSquare;
  int sideToMove = kWhite;
  int halfmoveClock = 0;  // plies since a capture or pawn move

 private:
  std::array<std::int32_t, 136> squares_{};
};

}  // namespace vantro
