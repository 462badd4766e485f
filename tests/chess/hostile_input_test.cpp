// Text from a GUI or an engine can be anything; these cases feed the board
// huge, cut and degenerate input so the sanitizer builds can catch any read or
// write outside the input or the board (random text and boards are the fuzz
// targets' job).
#include <gtest/gtest.h>

#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::FromFen;

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

// Boards no game reaches (pawns on the end ranks, many kings) are seeds of
// the fuzz_fen target, which makes and unmakes every move on them.
TEST(HostileInput, WithTwoKingsEitherOneAttackedIsCheck) {
  EXPECT_TRUE(MoveGenerator::InCheck(FromFen("qk6/8/8/8/8/8/8/K6K w - -"), kWhite));
}

}  // namespace
}  // namespace vantro
