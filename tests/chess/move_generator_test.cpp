#include "chess/move_generator.h"

#include <gtest/gtest.h>

#include <ostream>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::FromFen;
using testing_chess::kKiwipeteFen;

struct PerftCase {
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

std::ostream& operator<<(std::ostream& out, const PerftCase& c) {
  return out << c.fen << " to depth " << c.depth;
}

class PerftCount : public testing::TestWithParam<PerftCase> {};

TEST_P(PerftCount, CountsTheKnownLeavesAndLeavesTheBoardAsItWas) {
  Board board = FromFen(GetParam().fen);
  const Board before = board;
  EXPECT_EQ(Perft(board, GetParam().depth), GetParam().nodes);
  EXPECT_EQ(board.Compare(before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    ShallowCounts, PerftCount,
    testing::Values(
        PerftCase{kStartFen, 0, 1}, PerftCase{kStartFen, 3, 8902}, PerftCase{kKiwipeteFen, 2, 2039},
        PerftCase{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 3, 2812},
        PerftCase{"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        // The same position with colours swapped exercises black's castling.
        PerftCase{"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
        PerftCase{"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486}));

// The full-depth counts; minutes in a sanitizer build, so only the stages
// that run the slow tests run these.
INSTANTIATE_TEST_SUITE_P(
    SlowCounts, PerftCount,
    testing::Values(
        PerftCase{kStartFen, 5, 4865609}, PerftCase{kKiwipeteFen, 4, 4085603},
        PerftCase{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
        PerftCase{"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        PerftCase{"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487}));

TEST(MoveGeneratorCapacity, MoreThanCapacityMovesAreDroppedSilently) {
  // These queens and pawns to take have 258 pseudo-legal (and legal) moves.
  const Board board = FromFen("QQ4QQ/p1QQQ2Q/Q6Q/p1Q4Q/Q4Q1p/2Q4Q/Q3QQ2/pQQQ2QQ w - -");
  MoveList list;
  MoveGenerator::GeneratePseudoLegal(board, list);
  EXPECT_EQ(list.count, MoveList::kCapacity);
  MoveGenerator::GenerateLegal(board, list);
  EXPECT_EQ(list.count, MoveList::kCapacity);
}

}  // namespace
}  // namespace vantro
