#include "board_editor.h"

#include <array>
#include <string>

namespace vantro::fake {
namespace {

constexpr std::string_view kPieceLetters = "PNBRQK";  // index + 1 is the white piece code

struct CastlingLine {
  std::string_view name;
  int bit;
};
constexpr std::array<CastlingLine, 4> kCastlingLines = {
    {{"w00", kWhiteShort}, {"w000", kWhiteLong}, {"b00", kBlackShort}, {"b000", kBlackLong}}};

// The rights whose king and rook stand on their home squares.
int HomeCastling(const Board& board) {
  int rights = 0;
  if (board.Square(4) == kWhiteKing) {
    if (board.Square(7) == kWhiteRook) rights |= kWhiteShort;
    if (board.Square(0) == kWhiteRook) rights |= kWhiteLong;
  }
  if (board.Square(116) == kBlackKing) {
    if (board.Square(119) == kBlackRook) rights |= kBlackShort;
    if (board.Square(112) == kBlackRook) rights |= kBlackLong;
  }
  return rights;
}

}  // namespace

int ParseSquare(std::string_view text) {
  if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') {
    return kNoSquare;
  }
  return (text[1] - '1') * 16 + (text[0] - 'a');
}

BoardEditor::BoardEditor(const Board& board) : board_(board), sideToMove_(board.sideToMove) {}

bool BoardEditor::Apply(std::string_view line) {
  if (line == "#") {
    for (int square = 0; square < 128; ++square) {
      if ((square & 0x88) == 0) board_.SetSquare(square, kEmpty);
    }
    return true;
  }
  if (line == "c") {
    black_ = !black_;
    return true;
  }
  if (line.starts_with("ep ")) {
    const int square = ParseSquare(line.substr(3));
    if (square == kNoSquare) return false;
    enPassant_ = square;
    return true;
  }
  if (line.size() >= 4 && (line[0] == '+' || line[0] == '-')) {
    for (const CastlingLine& castling : kCastlingLines) {
      if (line.substr(1) != castling.name) continue;
      (line[0] == '+' ? castlingAdded_ : castlingRemoved_) |= castling.bit;
      (line[0] == '+' ? castlingRemoved_ : castlingAdded_) &= ~castling.bit;
      return true;
    }
    return false;
  }
  if (line.size() != 3) return false;
  const int square = ParseSquare(line.substr(1));
  if (square == kNoSquare) return false;
  if (line[0] == 'x') {
    board_.SetSquare(square, kEmpty);
    return true;
  }
  const size_t kind = kPieceLetters.find(line[0]);
  if (kind == std::string_view::npos) return false;
  board_.SetSquare(square, static_cast<int>(kind) + 1 + (black_ ? 6 : 0));
  return true;
}

Board BoardEditor::Finish() const {
  Board board = board_;
  board.sideToMove = sideToMove_;
  board.castling = (HomeCastling(board) | castlingAdded_) & ~castlingRemoved_;
  board.enPassant = enPassant_;
  board.halfmoveClock = 0;
  return board;
}

}  // namespace vantro::fake
