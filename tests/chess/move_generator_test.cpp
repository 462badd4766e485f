#include "chess/move_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::FromFen;
using testing_chess::kKiwipeteFen;
using testing_chess::kStartFen;
using testing_chess::LegalCoords;
using Coords = std::vector<std::string>;

struct PerftCase {
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

class QuickPerft : public testing::TestWithParam<PerftCase> {};

TEST_P(QuickPerft, CountsTheKnownLeavesAndLeavesTheBoardAsItWas) {
  Board board = FromFen(GetParam().fen);
  const Board before = board;
  EXPECT_EQ(Perft(board, GetParam().depth), GetParam().nodes);
  EXPECT_EQ(board.Compare(before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    ShallowCounts, QuickPerft,
    testing::Values(
        PerftCase{kStartFen, 0, 1}, PerftCase{kStartFen, 3, 8902}, PerftCase{kKiwipeteFen, 2, 2039},
        PerftCase{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 3, 2812},
        PerftCase{"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        // The same position with colours swapped exercises black's castling.
        PerftCase{"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
        PerftCase{"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486}));

TEST(MoveGeneratorOrder, ListsByOriginSquarePromotionsQueenFirstAndRefillsFromTheEnd) {
  const Coords start = LegalCoords(FromFen(kStartFen));
  ASSERT_EQ(start.size(), 20u);
  EXPECT_EQ(Coords(start.begin(), start.begin() + 3), (Coords{"b1a3", "b1c3", "g1f3"}));
  EXPECT_EQ(LegalCoords(FromFen("8/P7/8/8/8/8/8/8 w - -")),
            (Coords{"a7a8q", "a7a8r", "a7a8b", "a7a8n"}));
  // The pinned knight's three moves are replaced, in turn, by the king's last three.
  EXPECT_EQ(LegalCoords(FromFen("k7/8/8/8/8/8/8/rN5K w - -")), (Coords{"h1h2", "h1g2", "h1g1"}));
}

TEST(MoveGenerator, GeneratesAMoveOnlyWhenItIsLegal) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"4k3/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", true},
      {"4k3/8/8/8/8/8/8/R3K2R w Q -", "e1g1", false},
      {"4k3/8/8/8/8/8/8/RN2K2R w KQ -", "e1c1", false},
      {"1r4k1/8/8/8/8/8/8/R3K2R w KQ -", "e1c1", true},  // b1 may be attacked
      {"r3k2r/8/8/8/8/8/8/4K3 b kq -", "e8c8", true},
      // Castling rights without the king or the rook at home.
      {"4k3/8/8/8/8/8/8/4K3 w KQ -", "e1g1", false},
      {"4k3/8/8/8/8/8/8/3K3R w K -", "d1f1", false},
      {"4k3/8/8/8/8/8/8/4K2r w K -", "e1g1", false},
      // Taking en passant would uncover the king on the fifth rank.
      {"8/8/8/KPp4r/8/8/8/7k w - c6", "b5c6", false},
      {"8/8/8/1Pp4r/K7/8/8/7k w - c6", "b5c6", true},
      {"k7/8/8/1P6/8/8/8/7K w - c6", "b5c6", false},   // no pawn to take
      {"k7/8/8/8/8/8/1Pp5/7K w - c3", "b2c3", false},  // wrong rank
      // Of two white kings the one in check must move; the other may not.
      {"7k/8/8/8/r7/8/8/K6K w - -", "a1b1", true},
      {"7k/8/8/8/r7/8/8/K6K w - -", "a1a2", false},
      {"7k/8/8/8/r7/8/8/K6K w - -", "h1g1", false},
  };
  for (auto [fen, move, legal] : cases) {
    const Coords coords = LegalCoords(FromFen(fen));
    EXPECT_EQ(std::count(coords.begin(), coords.end(), move), legal ? 1 : 0) << fen << " " << move;
  }
}

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
