#include "chess/move_text.h"

#include <string>

#include "chess/move_generator.h"

namespace vantro {

namespace {

void AppendSquare(std::string& out, int square) {
  out += static_cast<char>('a' + FileOf(square));
  out += static_cast<char>('1' + RankOf(square));
}

// What SAN adds to a piece letter so that no other legal move of the same
// piece reaches the same square: the file if that tells it, else the rank,
// else both (three or more such pieces).
void AppendDisambiguation(const Board& board, const MoveInfo& move, std::string& out) {
  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  const int piece = board.Square(move.from);
  int rivals = 0, sameFile = 0, sameRank = 0;
  for (int i = 0; i < legal.count; ++i) {
    const MoveInfo& m = legal.moves[i];
    if (m.to != move.to || board.Square(m.from) != piece) continue;
    ++rivals;
    if (FileOf(m.from) == FileOf(move.from)) ++sameFile;
    if (RankOf(m.from) == RankOf(move.from)) ++sameRank;
  }
  if (rivals <= 1) return;
  if (sameFile == 1) {
    out += static_cast<char>('a' + FileOf(move.from));
  } else if (sameRank == 1) {
    out += static_cast<char>('1' + RankOf(move.from));
  } else {
    AppendSquare(out, move.from);
  }
}

// "+" or "#" for the position after `move`.
void AppendCheckMark(const Board& board, MoveInfo move, std::string& out) {
  Board after = board;
  if (!after.MakeMove(move, false)) return;
  if (!MoveGenerator::InCheck(after, after.sideToMove)) return;
  MoveList replies;
  MoveGenerator::GenerateLegal(after, replies);
  out += replies.count == 0 ? '#' : '+';
}

}  // namespace

std::string MoveToCoord(const MoveInfo& move) {
  if (!OnBoard(move.from) || !OnBoard(move.to)) return std::string();
  std::string text;
  AppendSquare(text, move.from);
  AppendSquare(text, move.to);
  const int kind = FoldPiece(move.promotion);
  if ((move.flags & kFlagPromotion) && kind >= kWhitePawn && kind <= kWhiteKing) {
    text += " pnbrqk"[kind];
  }
  return text;
}

std::string MoveToText(const Board& board, const MoveInfo& requested, MoveTextStyle style) {
  // Re-reading the move resolves it against the legal moves, so every flag
  // is known and an illegal move gives no text.
  const MoveInfo move = ParseMove(board, MoveToCoord(requested));
  if (move.Empty()) return std::string();
  if (style == MoveTextStyle::kCoord) return MoveToCoord(move);

  const bool longForm = style == MoveTextStyle::kLong;
  const bool capture = (move.flags & kFlagCapture) != 0;
  const int kind = FoldPiece(board.Square(move.from));
  std::string text;
  if (kind == kWhiteKing && (move.flags & kFlagCastling)) {
    text = FileOf(move.to) == 2 ? "O-O-O" : "O-O";
    AppendCheckMark(board, move, text);
    return text;
  }
  if (kind == kWhitePawn) {
    if (longForm) {
      AppendSquare(text, move.from);
    } else if (capture) {
      text += static_cast<char>('a' + FileOf(move.from));
    }
  } else {
    text += Board::LetterFromPiece(kind);
    if (longForm) {
      AppendSquare(text, move.from);
    } else {
      // Kings too: a set-up position may hold two of one colour.
      AppendDisambiguation(board, move, text);
    }
  }
  if (capture) {
    text += 'x';
  } else if (longForm) {
    text += '-';
  }
  AppendSquare(text, move.to);
  if (move.flags & kFlagPromotion) {
    if (style == MoveTextStyle::kSan) text += '=';
    text += Board::LetterFromPiece(move.promotion);
  }
  AppendCheckMark(board, move, text);
  if (style == MoveTextStyle::kSanEp && (move.flags & kFlagEnPassant)) text += " e.p.";
  return text;
}

}  // namespace vantro
