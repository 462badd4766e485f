#include "chess/board.h"

#include "chess/castling_squares.h"
#include "chess/move_generator.h"

namespace vantro {

namespace {

// A promotion the board can apply and undo exactly: a pawn becoming a knight,
// bishop, rook or queen of its own colour.
bool ValidPromotion(int pawn, int promotion) {
  const int kind = FoldPiece(promotion);
  return FoldPiece(pawn) == kWhitePawn && promotion >= 1 && promotion <= 12 &&
         kind >= kWhiteKnight && kind <= kWhiteQueen && ColourOf(promotion) == ColourOf(pawn);
}

// The square of the pawn an en-passant capture by `side` onto `to` removes.
int EnPassantVictim(int to, int side) {
  return side == kWhite ? to - 16 : to + 16;
}

}  // namespace

void Board::Clear() {
  squares_.fill(kEmpty);
  castling = 0;
  enPassant = kNoSquare;
  sideToMove = kWhite;
  halfmoveClock = 0;
}

int Board::SquaresOf(int piece, std::array<int, 64>& out) const {
  // Every legality test looks for the kings: the 0x88 holes are stepped
  // over, not tested square by square.
  int count = 0;
  for (int rankStart = 0; rankStart < 128; rankStart += 16) {
    for (int square = rankStart; square < rankStart + 8; ++square) {
      if (squares_[square] == piece) out[count++] = square;
    }
  }
  return count;
}

int Board::Compare(const Board& other) const {
  if (squares_ != other.squares_) return 1;
  if (castling != other.castling) return 2;
  if (enPassant != other.enPassant) return 3;
  if (sideToMove != other.sideToMove) return 4;
  return 0;
}

int Board::PieceFromLetter(char letter) const {
  int kind = 0;
  switch (letter) {
    case 'N':
      kind = kWhiteKnight;
      break;
    case 'B':
      kind = kWhiteBishop;
      break;
    case 'R':
      kind = kWhiteRook;
      break;
    case 'Q':
      kind = kWhiteQueen;
      break;
    case 'K':
      kind = kWhiteKing;
      break;
    default:
      return kEmpty;
  }
  return Colored(kind, sideToMove == kWhite ? kWhite : kBlack);
}

char Board::LetterFromPiece(int piece) {
  switch (FoldPiece(piece)) {
    case kWhiteKnight:
      return 'N';
    case kWhiteBishop:
      return 'B';
    case kWhiteRook:
      return 'R';
    case kWhiteQueen:
      return 'Q';
    case kWhiteKing:
      return 'K';
    default:
      return ' ';
  }
}

bool Board::MakeMove(MoveInfo& move, bool check) {
  // Records come from text and other subsystems; refuse what cannot be
  // applied and undone exactly instead of corrupting the board.
  if (!OnBoard(move.from) || !OnBoard(move.to) || move.from == move.to) return false;
  const int piece = squares_[move.from];
  if (piece < 1 || piece > 12) return false;
  if ((move.flags & kFlagPromotion) && !ValidPromotion(piece, move.promotion)) return false;
  if (check && !MoveGenerator::IsLegal(*this, move)) return false;

  const int side = ColourOf(piece);
  move.savedCastling = castling;
  move.savedEnPassant = enPassant;
  move.savedHalfmove = halfmoveClock;
  move.captured = squares_[move.to];
  move.extraPiece = kEmpty;

  squares_[move.to] = (move.flags & kFlagPromotion) ? move.promotion : piece;
  squares_[move.from] = kEmpty;

  if (move.flags & kFlagCastling) {
    // Only a rook that is really there moves; a castling without one must
    // not conjure it.
    const CastlingGeometry* c = CastlingByKingTarget(move.to);
    if (c != nullptr && squares_[c->corner] == c->rook && squares_[c->rookTo] == kEmpty) {
      squares_[c->corner] = kEmpty;
      squares_[c->rookTo] = c->rook;
      move.extraPiece = c->rook;
    }
  } else if (move.flags & kFlagEnPassant) {
    const int victim = EnPassantVictim(move.to, side);
    if (OnBoard(victim) && squares_[victim] == Colored(kWhitePawn, 1 - side)) {
      move.extraPiece = squares_[victim];
      squares_[victim] = kEmpty;
    }
  }

  enPassant = kNoSquare;
  // Only a two-square step forward on one file passes a square: a decoded
  // pawn move backwards or sideways carries the flag too.
  const bool forwardTwo = move.to - move.from == (side == kWhite ? 32 : -32);
  if ((move.flags & kFlagDoublePush) && forwardTwo) {
    // Only when an enemy pawn could take: keeps positions that differ in
    // nothing else equal, as a FEN writer would.
    const int passed = EnPassantVictim(move.to, side);
    const int enemyPawn = Colored(kWhitePawn, 1 - side);
    const int file = FileOf(move.to);
    const bool left = file > 0 && squares_[move.to - 1] == enemyPawn;
    const bool right = file < 7 && squares_[move.to + 1] == enemyPawn;
    if ((left || right) && OnBoard(passed)) enPassant = passed;
  }

  halfmoveClock = (move.flags & (kFlagCapture | kFlagPawn)) ? 0 : halfmoveClock + 1;

  if (piece == kWhiteKing) castling &= ~(kWhiteShort | kWhiteLong);
  if (piece == kBlackKing) castling &= ~(kBlackShort | kBlackLong);
  for (const CastlingGeometry& c : kCastlings) {
    if (move.from == c.corner || move.to == c.corner) castling &= ~c.right;
  }

  sideToMove ^= 1;
  return true;
}

void Board::UnmakeMove(const MoveInfo& move) {
  if (!OnBoard(move.from) || !OnBoard(move.to) || move.from == move.to) return;
  sideToMove ^= 1;
  castling = move.savedCastling;
  enPassant = move.savedEnPassant;
  halfmoveClock = move.savedHalfmove;

  // Reverse order of MakeMove: first the second piece, then the main move.
  const int arrived = squares_[move.to];
  const int piece =
      (move.flags & kFlagPromotion) ? Colored(kWhitePawn, ColourOf(move.promotion)) : arrived;
  if (move.extraPiece != kEmpty) {
    if (move.flags & kFlagCastling) {
      if (const CastlingGeometry* c = CastlingByKingTarget(move.to)) {
        squares_[c->rookTo] = kEmpty;
        squares_[c->corner] = move.extraPiece;
      }
    } else if (move.flags & kFlagEnPassant) {
      const int victim = EnPassantVictim(move.to, ColourOf(piece));
      if (OnBoard(victim)) squares_[victim] = move.extraPiece;
    }
  }
  squares_[move.from] = piece;
  squares_[move.to] = move.captured;
}

}  // namespace vantro
