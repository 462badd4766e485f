#include <gtest/gtest.h>

#include <cstdint>

#include "chess/board.h"
#include "chess/move_generator.h"

namespace vantro {
namespace {

// The full-depth perft counts; minutes in a sanitizer build, so these run in
// the slow set only.
struct DeepPerft {
  const char* name;
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

class SlowPerft : public testing::TestWithParam<DeepPerft> {};

TEST_P(SlowPerft, CountsEveryLeafOfTheLegalMoveTree) {
  Board board;
  board.SetFEN(GetParam().fen);
  const std::string before = board.ToFEN();
  EXPECT_EQ(Perft(board, GetParam().depth), GetParam().nodes);
  EXPECT_EQ(board.ToFEN(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Slow, SlowPerft,
    testing::Values(
        DeepPerft{"StartPosition", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5,
                  4865609},
        DeepPerft{"Kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4,
                  4085603},
        DeepPerft{"RookEndgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
        DeepPerft{"PromotionsAndCastling",
                  "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        DeepPerft{"DiscoveredChecks", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
                  4, 2103487}),
    [](const testing::TestParamInfo<DeepPerft>& info) { return info.param.name; });

}  // namespace
}  // namespace vantro
