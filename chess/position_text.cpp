#include "chess/position_text.h"

#include "chess/board.h"

namespace vantro {
namespace {

void AppendPieces(std::string& out, const Board& board, bool white) {
  for (int rank = 0; rank < 8; ++rank) {
    for (int file = 0; file < 8; ++file) {
      int piece = board.Square(rank * 16 + file);
      if (piece == kEmpty || (piece <= 6) != white) continue;
      char letter = FoldPiece(piece) == kWhitePawn ? 'P' : Board::LetterFromPiece(piece);
      out += letter;
      out += static_cast<char>('a' + file);
      out += static_cast<char>('1' + rank);
      out += '\n';
    }
  }
}

}  // namespace

std::string BuildPositionText(int style, std::string_view fen, bool usermove, bool san) {
  if (style != 1 && style != 2) return "setboard " + std::string(fen) + "\n";

  Board board;
  board.SetFEN(fen);
  bool whiteToMove = board.sideToMove == kWhite;
  std::string out;
  if (whiteToMove) {
    out = "new\nedit\n#\n";
  } else {
    out = "new\nforce\n";
    if (usermove) out += "usermove ";
    out += san ? "a3" : "a2a3";
    out += "\nedit\n#\n";
  }
  AppendPieces(out, board, true);
  out += "c\n";
  AppendPieces(out, board, false);
  out += "c\n";
  if (style == 2) {
    out += (board.castling & kWhiteShort) ? "+w00\n" : "-w00\n";
    out += (board.castling & kWhiteLong) ? "+w000\n" : "-w000\n";
    out += (board.castling & kBlackShort) ? "+b00\n" : "-b00\n";
    out += (board.castling & kBlackLong) ? "+b000\n" : "-b000\n";
    if (board.enPassant != kNoSquare) {
      out += "ep ";
      out += static_cast<char>('a' + (board.enPassant & 7));
      out += static_cast<char>('1' + (board.enPassant >> 4));
      out += '\n';
    }
  }
  if (whiteToMove) out += "c\n";
  out += ".\n";
  return out;
}

}  // namespace vantro
