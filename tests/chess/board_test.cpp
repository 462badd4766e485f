#include "chess/board.h"

#include <gtest/gtest.h>

#include <utility>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;

TEST(BoardFen, ReadsTolerantlyAndWritesTheNormalForm) {
  const std::pair<const char*, const char*> cases[] = {
      {kStartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"  \t 4k3/8/8/8/8/8/8/4K3 b - - 12 40", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"4k3/8/8/8/4P3/8/8/4K3 B KQkq e3", "4k3/8/8/8/4P3/8/8/4K3 b KQkq e3 0 1"},
      {"8/8/8/8/8/8/8/8 w qZkx", "8/8/8/8/8/8/8/8 w kq - 0 1"},
      {"8/8/8/8/8/8/8/8 w - e1", "8/8/8/8/8/8/8/8 w - - 0 1"},
      {"8/8/8/8/8/8/8/8 w - x6", "8/8/8/8/8/8/8/8 w - a6 0 1"},
      // '/' ends a started rank early; unknown characters are skipped.
      {"k/K/8/8/8/8/8/8", "k7/K7/8/8/8/8/8/8 w - - 0 1"},
      {"r3?9xk3/8", "r3k3/8/8/8/8/8/8/8 w - - 0 1"},
      // More than eight ranks: reading stops below rank 1.
      {"8/8/8/8/8/8/8/8/KKKK w", "8/8/8/8/8/8/8/8 w - - 0 1"},
  };
  for (auto [input, written] : cases) EXPECT_EQ(FromFen(input).ToFEN(), written) << input;
}

struct MoveCase {
  const char* fen;
  const char* move;
  const char* after;  // ToFEN after the move, "" when MakeMove with check refuses it
};

constexpr const char* kCorners = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
constexpr const char* kPinned = "4r1k1/8/b7/8/8/4N3/8/4K2R w K -";

TEST(BoardMove, UpdatesSquaresRightsAndEnPassantAndUnmakesExactly) {
  const MoveCase cases[] = {
      // The en-passant square is set only when an enemy pawn stands beside the
      // double push's destination; h3 and a5 are beside a4 and h5 only on a
      // board that wraps.
      {kStartFen, "e2e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
      {"4k3/8/8/8/3p4/8/4P3/4K3 w - -", "e2e4", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"},
      {"4k3/8/8/8/8/7p/P7/4K3 w - -", "a2a4", "4k3/8/8/8/P7/7p/8/4K3 b - - 0 1"},
      {"4k3/7p/8/P5P1/8/8/8/4K3 b - -", "h7h5", "4k3/8/8/P5Pp/8/8/8/4K3 w - h6 0 1"},
      {"4k3/7p/8/8/8/8/8/4K3 w - h6", "e1e2", "4k3/7p/8/8/8/8/4K3/8 b - - 0 1"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1"},
      // Two squares backwards passes no square, enemy pawn beside or not.
      {"4k3/8/8/8/4P3/8/3p4/K7 w - -", "e4e2", "4k3/8/8/8/8/8/3pP3/K7 b - - 0 1"},
      // Castling moves the rook, or only the king when the rook is missing.
      {kCorners, "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1"},
      {"4k3/8/8/8/8/8/8/4K3 w KQ -", "e1g1", "4k3/8/8/8/8/8/8/6K1 b - - 0 1"},
      // Rights go with king moves and any move from or to a corner.
      {kCorners, "a1a2", "r3k2r/8/8/8/8/8/R7/4K2R b Kkq - 0 1"},
      {kCorners, "h1h8", "r3k2R/8/8/8/8/8/8/R3K3 b Qq - 0 1"},
      {"r3k2r/8/8/8/8/6n1/8/R3K2R b KQkq -", "g3h1", "r3k2r/8/8/8/8/8/8/R3K2n w Qkq - 0 1"},
      // The new piece takes the mover's colour whatever the letter's case. A
      // fifth character that names no piece, or one on a non-pawn move, is
      // ignored instead of making the piece vanish.
      {"8/8/8/8/8/8/4p3/8 b - -", "e2e1q", "8/8/8/8/8/8/8/4q3 w - - 0 1"},
      {"3r4/4P3/8/8/8/8/8/8 w - -", "e7d8n", "3N4/8/8/8/8/8/8/8 b - - 0 1"},
      {"8/8/8/8/8/8/4P3/8 w - -", "e2e4x", "8/8/8/8/4P3/8/8/8 b - - 0 1"},
      {"8/8/8/8/8/8/8/6N1 w - -", "g1f3q", "8/8/8/8/8/5N2/8/8 b - - 0 1"},
      // Castling through (f1) or into check is refused, as is a pinned
      // knight's move. Rights and geometry are the generator's business.
      {kPinned, "e3c4", ""},
      {kPinned, "e1g1", ""},
      {kPinned, "e1d2", "4r1k1/8/b7/8/8/4N3/3K4/7R b - - 0 1"},
      {"6rk/8/8/8/8/8/8/4K2R w K -", "e1g1", ""},
  };
  for (const MoveCase& c : cases) {
    Board board = FromFen(c.fen);
    const Board before = board;
    MoveInfo move = Decoded(board, c.move);
    const bool made = board.MakeMove(move, true);
    EXPECT_EQ(made, *c.after != '\0') << c.fen << " " << c.move;
    if (made) {
      EXPECT_EQ(board.ToFEN(), c.after) << c.fen << " " << c.move;
      board.UnmakeMove(move);
    }
    EXPECT_EQ(board.Compare(before), 0) << c.fen << " " << c.move;
  }
}

TEST(BoardDecode, RejectsTextThatIsNoCoordinateMoveOrStartsOnAnEmptySquare) {
  const Board board = FromFen(kStartFen);
  MoveInfo move;
  for (const char* text : {"", "e2e", "e9e4", "E2E4", "e2-e4", "e3e4", "Nf3"}) {
    EXPECT_FALSE(DecodeCoordMove(board, move, text)) << text;
  }
  EXPECT_TRUE(move.Empty());
}

}  // namespace
}  // namespace vantro
