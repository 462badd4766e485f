#include <cstdlib>
#include <string_view>

#include "base/text.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro {

namespace {

// Texts are C strings to the rest of the system: they end at a NUL byte.
std::string_view UntilNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

bool IsFile(char c) {
  return c >= 'a' && c <= 'h';
}
bool IsRank(char c) {
  return c >= '1' && c <= '8';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// 'N' .. 'K' to the folded kind 2 .. 6; 0 for anything else.
int KindFromUpper(char c) {
  constexpr std::string_view kKinds = "NBRQK";  // kWhiteKnight .. kWhiteKing
  std::size_t i = kKinds.find(c);
  return i == std::string_view::npos ? 0 : kWhiteKnight + static_cast<int>(i);
}

MoveInfo FailedParse(int status) {
  MoveInfo move;
  move.status = status;
  return move;
}

// The longest text ParseMove looks at; longer text is cut to one less.
constexpr std::size_t kParseCopy = 19;
constexpr std::size_t kParseCut = 18;

// Reduces move text to files, ranks, 'O' and piece letters, starting at the
// first character that can begin a move. A '0' right after a digit belongs to
// a move number ("10.", "100.") and is not castling.
int CleanMoveText(std::string_view text, char (&out)[kParseCopy]) {
  int length = 0;
  bool started = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    const bool numberDigit = c == '0' && i > 0 && IsDigit(text[i - 1]);
    if (!started && numberDigit) continue;
    if (c == '0' || c == 'o') c = 'O';
    const bool pieceLetter = KindFromUpper(ToUpper(c)) != 0;
    if (!started) {
      started = IsFile(c) || c == 'O' || (pieceLetter && c == ToUpper(c));
      if (!started) continue;
    }
    if (IsFile(c) || IsRank(c) || c == 'O' || pieceLetter) out[length++] = c;
  }
  // The remains of a trailing "e.p.".
  if (length >= 3 && out[length - 1] == 'e') --length;
  return length;
}

// The one legal move matching every criterion given (-1 = any), else an empty
// move with status 2. Only the pseudo-legal candidates that match are tested
// for legality, which is most of the cost of a full legal list.
MoveInfo UniqueLegalMove(const Board& board, int piece, int to, int fromFile, int fromRank,
                         int promotion, bool castlingOnly) {
  // Kept per thread: a fresh list would clear all its entries, a cost
  // several times that of the generation (every thinking line parses moves).
  thread_local MoveList candidates;
  if (fromFile >= 0 && fromRank >= 0) {
    // A coordinate move: only its piece's moves can match.
    MoveGenerator::GeneratePseudoLegalFrom(board, MakeSquare(fromFile, fromRank), candidates);
  } else {
    MoveGenerator::GeneratePseudoLegal(board, candidates);
  }
  const MoveInfo* found = nullptr;
  for (int i = 0; i < candidates.count; ++i) {
    const MoveInfo& m = candidates.moves[i];
    if (m.to != to || board.Square(m.from) != piece || m.promotion != promotion) continue;
    if (fromFile >= 0 && FileOf(m.from) != fromFile) continue;
    if (fromRank >= 0 && RankOf(m.from) != fromRank) continue;
    if (castlingOnly && !(m.flags & kFlagCastling)) continue;
    if (!MoveGenerator::IsLegal(board, m)) continue;
    if (found != nullptr) return FailedParse(kParseNoUniqueMove);
    found = &m;
  }
  if (found == nullptr) return FailedParse(kParseNoUniqueMove);
  MoveInfo move = *found;
  move.status = kParseRead;
  return move;
}

}  // namespace

bool DecodeCoordMove(const Board& board, MoveInfo& move, std::string_view text) {
  text = UntilNul(text);
  if (text.size() < 4 || !IsFile(text[0]) || !IsRank(text[1]) || !IsFile(text[2]) ||
      !IsRank(text[3])) {
    return false;
  }
  MoveInfo decoded;
  decoded.from = MakeSquare(text[0] - 'a', text[1] - '1');
  decoded.to = MakeSquare(text[2] - 'a', text[3] - '1');
  const int piece = board.Square(decoded.from);
  if (piece < 1 || piece > 12) return false;
  const int kind = FoldPiece(piece);

  // A fifth character promotes only a pawn, and only when it names a piece a
  // pawn can become; the new piece has the pawn's colour.
  if (text.size() > 4 && kind == kWhitePawn) {
    const int promotion = KindFromUpper(ToUpper(text[4]));
    if (promotion >= kWhiteKnight && promotion <= kWhiteQueen) {
      decoded.flags |= kFlagPromotion;
      decoded.promotion = Colored(promotion, ColourOf(piece));
    }
  }
  decoded.captured = board.Square(decoded.to);
  if (decoded.captured != kEmpty) decoded.flags |= kFlagCapture;

  const int fileDistance = std::abs(FileOf(decoded.from) - FileOf(decoded.to));
  if (kind == kWhiteKing && fileDistance >= 2) decoded.flags |= kFlagCastling;
  if (kind == kWhitePawn) {
    decoded.flags |= kFlagPawn;
    if (std::abs(RankOf(decoded.from) - RankOf(decoded.to)) >= 2) {
      decoded.flags |= kFlagDoublePush;
    }
    if (fileDistance != 0 && !(decoded.flags & kFlagCapture)) {
      decoded.flags |= kFlagCapture | kFlagEnPassant;
    }
  }
  move = decoded;
  return true;
}

MoveInfo ParseMove(const Board& board, std::string_view text) {
  text = UntilNul(text);
  if (text.size() > kParseCopy) text = text.substr(0, kParseCut);
  char clean[kParseCopy];
  const int length = CleanMoveText(text, clean);
  if (length < 2) return FailedParse(kParseUnreadable);

  const int side = board.sideToMove == kWhite ? kWhite : kBlack;
  if (clean[0] == 'O' && clean[1] == 'O') {
    const bool isLong = length >= 3 && clean[2] == 'O';
    const int to = MakeSquare(isLong ? 2 : 6, side == kWhite ? 0 : 7);
    return UniqueLegalMove(board, Colored(kWhiteKing, side), to, -1, -1, kEmpty, true);
  }

  int begin = 0;
  int end = length;
  int kind = KindFromUpper(clean[0]);
  if (kind != 0) {
    ++begin;
  } else {
    kind = kWhitePawn;
  }
  int promotion = 0;
  if (end > begin && KindFromUpper(ToUpper(clean[end - 1])) != 0) {
    promotion = KindFromUpper(ToUpper(clean[end - 1]));
    --end;
  }
  int toFile = -1, fromFile = -1, toRank = -1, fromRank = -1;
  for (int i = end - 1; i >= begin; --i) {
    const char c = clean[i];
    if (IsFile(c)) {
      if (toFile < 0) {
        toFile = c - 'a';
      } else if (fromFile < 0) {
        fromFile = c - 'a';
      }
    } else if (IsRank(c)) {
      if (toRank < 0) {
        toRank = c - '1';
      } else if (fromRank < 0) {
        fromRank = c - '1';
      }
    }
  }
  if (toFile < 0 || toRank < 0) return FailedParse(kParseUnreadable);

  if (kind == kWhitePawn && fromFile < 0) fromFile = toFile;
  if (fromFile >= 0 && fromRank >= 0) {
    kind = FoldPiece(board.Square(MakeSquare(fromFile, fromRank)));
    if (kind < kWhitePawn || kind > kWhiteKing) return FailedParse(kParseNoUniqueMove);
  }
  if (kind == kWhitePawn && promotion == 0 && (toRank == 0 || toRank == 7)) {
    promotion = kWhiteQueen;
  }
  const int wantedPromotion = promotion != 0 ? Colored(promotion, side) : kEmpty;
  return UniqueLegalMove(board, Colored(kind, side), MakeSquare(toFile, toRank), fromFile, fromRank,
                         wantedPromotion, false);
}

}  // namespace vantro
