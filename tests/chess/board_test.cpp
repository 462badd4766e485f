#include "chess/board.h"

#include <gtest/gtest.h>

#include <utility>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kStartFen;
using testing_chess::Sq;

TEST(BoardFen, ReadsTolerantlyAndWritesTheNormalForm) {
  const std::pair<const char*, const char*> cases[] = {
      {kStartFen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
      {"", "8/8/8/8/8/8/8/8 w - - 0 1"},
      {"  \t 4k3/8/8/8/8/8/8/4K3 b - - 12 40", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"4k3/8/8/8/4P3/8/8/4K3 B KQkq e3", "4k3/8/8/8/4P3/8/8/4K3 b KQkq e3 0 1"},
      {"8/8/8/8/8/8/8/8 w qZkx", "8/8/8/8/8/8/8/8 w kq - 0 1"},
      {"8/8/8/8/8/8/8/8 w - e1", "8/8/8/8/8/8/8/8 w - - 0 1"},
      {"8/8/8/8/8/8/8/8 w - x6", "8/8/8/8/8/8/8/8 w - a6 0 1"},
      {"8/8/8/8/8/8/8/8 w - e", "8/8/8/8/8/8/8/8 w - - 0 1"},
      // '/' ends a started rank early; unknown characters are skipped.
      {"k/K/8/8/8/8/8/8", "k7/K7/8/8/8/8/8/8 w - - 0 1"},
      {"r3?9xk3/8", "r3k3/8/8/8/8/8/8/8 w - - 0 1"},
      // More than eight ranks: reading stops below rank 1.
      {"8/8/8/8/8/8/8/8/KKKK w", "8/8/8/8/8/8/8/8 w - - 0 1"},
      {"PPPPPPPPPPP", "PPPPPPPP/PPP5/8/8/8/8/8/8 w - - 0 1"},
  };
  for (auto [input, written] : cases) EXPECT_EQ(FromFen(input).ToFEN(), written) << input;
}

TEST(BoardCompare, SeesSquaresRightsEnPassantAndSideButNotTheHalfmoveClock) {
  const Board base = FromFen("4k3/8/8/8/8/8/8/4K3 w K e3");
  for (const char* fen : {"4k3/8/8/8/8/8/8/R3K3 w K e3", "4k3/8/8/8/8/8/8/4K3 w - e3",
                          "4k3/8/8/8/8/8/8/4K3 w K -", "4k3/8/8/8/8/8/8/4K3 b K e3"}) {
    EXPECT_NE(base.Compare(FromFen(fen)), 0) << fen;
  }
  Board later = base;
  later.halfmoveClock = 7;
  EXPECT_EQ(base.Compare(later), 0);
}

TEST(BoardSquares, OffBoardIndicesReadEmptyIgnoreWritesAndAreNeverAttacked) {
  Board board = FromFen(kStartFen);
  for (int square : {-1, -17, 8, kNoSquare, 200, 1 << 20}) {
    board.SetSquare(square, kWhiteQueen);
    EXPECT_EQ(board.Square(square), kEmpty);
    EXPECT_FALSE(MoveGenerator::IsAttacked(board, square, kBlack));
  }
  EXPECT_EQ(board.Compare(FromFen(kStartFen)), 0);
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
      {"4k3/8/8/8/5p2/8/4P3/4K3 w - -", "e2e4", "4k3/8/8/8/4Pp2/8/8/4K3 b - e3 0 1"},
      {"4k3/8/8/8/3P4/8/4P3/4K3 w - -", "e2e4", "4k3/8/8/8/3PP3/8/8/4K3 b - - 0 1"},
      {"4k3/8/8/8/2p5/8/4P3/4K3 w - -", "e2e4", "4k3/8/8/8/2p1P3/8/8/4K3 b - - 0 1"},
      {"4k3/8/8/8/8/7p/P7/4K3 w - -", "a2a4", "4k3/8/8/8/P7/7p/8/4K3 b - - 0 1"},
      {"4k3/7p/8/P5P1/8/8/8/4K3 b - -", "h7h5", "4k3/8/8/P5Pp/8/8/8/4K3 w - h6 0 1"},
      {"4k3/7p/8/8/8/8/8/4K3 w - h6", "e1e2", "4k3/7p/8/8/8/8/4K3/8 b - - 0 1"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1"},
      // Castling moves the rook, or only the king when the rook is missing.
      {kCorners, "e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1"},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8c8", "2kr3r/8/8/8/8/8/8/R3K2R w KQ - 0 1"},
      {"4k3/8/8/8/8/8/8/4K3 w KQ -", "e1g1", "4k3/8/8/8/8/8/8/6K1 b - - 0 1"},
      // Rights go with king moves and any move from or to a corner.
      {kCorners, "e1e2", "r3k2r/8/8/8/8/8/4K3/R6R b kq - 0 1"},
      {kCorners, "a1a2", "r3k2r/8/8/8/8/8/R7/4K2R b Kkq - 0 1"},
      {kCorners, "h1h5", "r3k2r/8/8/7R/8/8/8/R3K3 b Qkq - 0 1"},
      {kCorners, "a1a8", "R3k2r/8/8/8/8/8/8/4K2R b Kk - 0 1"},
      {kCorners, "h1h8", "r3k2R/8/8/8/8/8/8/R3K3 b Qq - 0 1"},
      {"r3k2r/8/8/8/8/6n1/8/R3K2R b KQkq -", "g3h1", "r3k2r/8/8/8/8/8/8/R3K2n w Qkq - 0 1"},
      // The new piece takes the mover's colour whatever the letter's case. A
      // fifth character that names no piece, or one on a non-pawn move, is
      // ignored instead of making the piece vanish.
      {"8/8/8/8/8/8/4p3/8 b - -", "e2e1q", "8/8/8/8/8/8/8/4q3 w - - 0 1"},
      {"8/8/8/8/8/8/1p6/8 b - -", "b2b1R", "8/8/8/8/8/8/8/1r6 w - - 0 1"},
      {"3r4/4P3/8/8/8/8/8/8 w - -", "e7d8n", "3N4/8/8/8/8/8/8/8 b - - 0 1"},
      {"8/8/8/8/8/8/4P3/8 w - -", "e2e4x", "8/8/8/8/4P3/8/8/8 b - - 0 1"},
      {"8/8/8/8/8/8/8/6N1 w - -", "g1f3q", "8/8/8/8/8/5N2/8/8 b - - 0 1"},
      {"8/4P3/8/8/8/8/8/8 w - -", "e7e8k", "4P3/8/8/8/8/8/8/8 b - - 0 1"},
      // Castling out of, through (f1) or into check is refused, as are a king
      // step into check (e2) and a pinned knight's move. Rights and geometry
      // are the generator's business.
      {kPinned, "e3c4", ""},
      {kPinned, "e1g1", ""},
      {kPinned, "e1e2", ""},
      {kPinned, "e1d2", "4r1k1/8/b7/8/8/4N3/3K4/7R b - - 0 1"},
      {"4r1k1/8/8/8/8/8/8/4K2R w K -", "e1g1", ""},
      {"6rk/8/8/8/8/8/8/4K2R w K -", "e1g1", ""},
      {"k7/8/8/8/8/8/8/4K2R w - -", "e1g1", "k7/8/8/8/8/8/8/5RK1 b - - 0 1"},
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
  for (const char* text : {"", "e2", "e2e", "e9e4", "i2e4", "E2E4", "e2-e4", "e3e4", "Nf3"}) {
    EXPECT_FALSE(DecodeCoordMove(board, move, text)) << text;
  }
  EXPECT_TRUE(move.Empty());
}

TEST(BoardMakeMove, RefusesEmptyOriginsOffBoardSquaresAndNullMovesEvenUnchecked) {
  Board board = FromFen(kStartFen);
  MoveInfo knightPromotes = Decoded(board, "g1f3");
  knightPromotes.flags |= kFlagPromotion;
  knightPromotes.promotion = kWhiteQueen;
  for (MoveInfo move :
       {MoveInfo{}, MoveInfo{Sq("e4"), Sq("e5")}, MoveInfo{Sq("e2"), kNoSquare}, knightPromotes}) {
    EXPECT_FALSE(board.MakeMove(move, false)) << MoveToCoord(move);
  }
  EXPECT_EQ(board.Compare(FromFen(kStartFen)), 0);
}

TEST(BoardMakeMove, HalfmoveClockCountsQuietPieceMovesAndResetsOnPawnMovesAndCaptures) {
  Board board = FromFen(kStartFen);
  MoveInfo move;
  for (auto [text, clock] :
       {std::pair{"g1f3", 1}, {"e7e6", 0}, {"f3g5", 1}, {"b8c6", 2}, {"g5f7", 0}}) {
    move = Decoded(board, text);
    ASSERT_TRUE(board.MakeMove(move, true)) << text;
    EXPECT_EQ(board.halfmoveClock, clock) << text;
  }
  board.UnmakeMove(move);
  EXPECT_EQ(board.halfmoveClock, 2);
}

}  // namespace
}  // namespace vantro
