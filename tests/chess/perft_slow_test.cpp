#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "chess_test_util.h"

namespace vantro {
namespace {

// The full-depth perft counts; minutes in a sanitizer build, so these run in
// the slow set only.
TEST(SlowPerft, CountsEveryLeafOfTheLegalMoveTree) {
  const std::tuple<const char*, int, std::uint64_t> cases[] = {
      {kStartFen, 5, 4865609},
      {testing_chess::kKiwipeteFen, 4, 4085603},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487}};
  for (auto [fen, depth, nodes] : cases) {
    Board board = testing_chess::FromFen(fen);
    const Board before = board;
    EXPECT_EQ(Perft(board, depth), nodes) << fen;
    EXPECT_EQ(board.Compare(before), 0) << fen;
  }
}

}  // namespace
}  // namespace vantro
