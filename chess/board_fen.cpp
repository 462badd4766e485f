#include <algorithm>
#include <string>
#include <string_view>

#include "base/text.h"
#include "chess/board.h"

namespace vantro {

namespace {

// Every control byte and the space separate FEN fields.
constexpr std::string_view kFieldSeparators =
    "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10"
    "\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x20";

// The FEN letter of each piece code, indexed by the code.
constexpr std::string_view kFenLetters = " PNBRQKpnbrqk";

int PieceFromFenLetter(char c) {
  std::size_t code = c == ' ' ? std::string_view::npos : kFenLetters.find(c);
  return code == std::string_view::npos ? kEmpty : static_cast<int>(code);
}

}  // namespace

void Board::SetFEN(std::string_view text) {
  Clear();
  text = text.substr(0, text.find('\0'));
  WordCursor fields(text, kFieldSeparators);

  int rank = 7;
  int file = 0;
  for (char c : fields.Next()) {
    if (rank < 0) break;
    if (const int piece = PieceFromFenLetter(c)) {
      squares_[MakeSquare(file, rank)] = piece;
      ++file;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
    } else if (c == '/') {
      if (file > 0) file = 8;
    } else {
      continue;
    }
    if (file > 7) {
      --rank;
      file = 0;
    }
  }

  const std::string_view side = fields.Next();
  if (!side.empty() && (side[0] == 'b' || side[0] == 'B')) sideToMove = kBlack;

  for (char c : fields.Next()) {
    if (c == 'K') castling |= kWhiteShort;
    if (c == 'Q') castling |= kWhiteLong;
    if (c == 'k') castling |= kBlackShort;
    if (c == 'q') castling |= kBlackLong;
  }

  const std::string_view ep = fields.Next();
  if (ep.size() >= 2 && ep[1] >= '2' && ep[1] <= '8') {
    const int epFile = (ep[0] >= 'a' && ep[0] <= 'h') ? ep[0] - 'a' : 0;
    enPassant = MakeSquare(epFile, ep[1] - '1');
  }
  // The clock judges fifty-move claims; the move number is not read.
  halfmoveClock = std::clamp(ParseInt(fields.Next()), 0, kMaxHalfmoveClock);
}

std::string Board::ToFEN() const {
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int emptyRun = 0;
    for (int file = 0; file < 8; ++file) {
      const int piece = squares_[MakeSquare(file, rank)];
      if (piece < 1 || piece > 12) {
        ++emptyRun;
        continue;
      }
      if (emptyRun > 0) fen += static_cast<char>('0' + emptyRun);
      emptyRun = 0;
      char letter = FoldPiece(piece) == kWhitePawn ? 'P' : LetterFromPiece(piece);
      if (IsBlack(piece)) letter = static_cast<char>(letter - 'A' + 'a');
      fen += letter;
    }
    if (emptyRun > 0) fen += static_cast<char>('0' + emptyRun);
    if (rank > 0) fen += '/';
  }
  fen += sideToMove == kWhite ? " w " : " b ";
  if (castling & kWhiteShort) fen += 'K';
  if (castling & kWhiteLong) fen += 'Q';
  if (castling & kBlackShort) fen += 'k';
  if (castling & kBlackLong) fen += 'q';
  if ((castling & (kWhiteShort | kWhiteLong | kBlackShort | kBlackLong)) == 0) fen += '-';
  fen += ' ';
  if (OnBoard(enPassant)) {
    fen += static_cast<char>('a' + FileOf(enPassant));
    fen += static_cast<char>('1' + RankOf(enPassant));
  } else {
    fen += '-';
  }
  fen += " 0 1";
  return fen;
}

}  // namespace vantro
