// Text from a GUI or an engine can be anything; these cases feed the board
// huge, cut and degenerate input so the sanitizer builds can catch any read or
// write outside the input or the board (random text is the fuzz targets' job).
#include <gtest/gtest.h>

#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::FromFen;

// Every legal move can be made, and unmaking it restores the board.
void ExpectMovesUndoExactly(const Board& board) {
  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  Board scratch = board;
  for (int i = 0; i < legal.count; ++i) {
    MoveInfo move = legal.moves[i];
    ASSERT_TRUE(scratch.MakeMove(move, true)) << board.ToFEN() << " " << MoveToCoord(move);
    scratch.UnmakeMove(move);
    ASSERT_EQ(scratch.Compare(board), 0) << board.ToFEN() << " " << MoveToCoord(move);
  }
}

TEST(HostileInput, VeryLongTruncatedOrNulFilledTextReadsAsFarAsItGoes) {
  const std::string queens(1 << 20, 'Q');
  EXPECT_EQ(FromFen(queens).ToFEN(),
            "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ w - - 0 1");
  EXPECT_TRUE(ParseMove(FromFen(kStartFen), queens).Empty());
  EXPECT_EQ(FromFen(std::string("4k3/8/8/8/8/8/8/4K3 b\0KQ", 25)).ToFEN(),
            "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(FromFen("rnbqk").ToFEN(), "rnbqk3/8/8/8/8/8/8/8 w - - 0 1");
  MoveInfo move;
  EXPECT_FALSE(DecodeCoordMove(FromFen(kStartFen), move, std::string("e2\0e4", 5)));
}

TEST(HostileInput, DegenerateBoardsGenerateAndUndoWithoutCrashing) {
  for (const char* fen :
       {"8/8/8/8/8/8/8/8 w KQkq e3",
        // Pawns on the last and first ranks must not step off the board.
        "PPPPPPPP/pppppppp/8/8/8/8/PPPPPPPP/pppppppp w KQkq c6",
        "KKKKKKKK/8/8/8/8/8/8/kkkkkkkk w KQkq -", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq a1",
        "pppppppp/8/8/8/8/8/8/PPPPPPPP b - a2"}) {
    Board board = FromFen(fen);
    ExpectMovesUndoExactly(board);
    board.sideToMove ^= 1;
    ExpectMovesUndoExactly(board);
    const Board before = board;
    Perft(board, 3);
    EXPECT_EQ(board.Compare(before), 0) << fen;
  }
  // With two kings, either one attacked is check.
  EXPECT_TRUE(MoveGenerator::InCheck(FromFen("qk6/8/8/8/8/8/8/K6K w - -"), kWhite));
}

}  // namespace
}  // namespace vantro
