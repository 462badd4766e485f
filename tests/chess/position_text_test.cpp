#include "chess/position_text.h"

#include <gtest/gtest.h>

namespace vantro {
namespace {

TEST(PositionText, EditWithWhiteToMoveListsBothColoursThenSwitchesBack) {
  EXPECT_EQ(BuildPositionText(1, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", false, false),
            "new\nedit\n#\nKe1\nPe2\nc\nKe8\nc\nc\n.\n");
}

TEST(PositionText, EditWithBlackToMovePlaysAWhiteMoveFirst) {
  EXPECT_EQ(BuildPositionText(1, "4k3/p7/8/8/8/8/8/4K3 b - - 0 1", true, true),
            "new\nforce\nusermove a3\nedit\n#\nKe1\nc\nPa7\nKe8\nc\n.\n");
}

TEST(PositionText, CbEditAddsCastlingAndEnPassant) {
  EXPECT_EQ(BuildPositionText(2, "r3k3/8/8/3pP3/8/8/8/R3K2R w KQ d6 0 1", false, false),
            "new\nedit\n#\nRa1\nKe1\nRh1\nPe5\nc\nPd5\nRa8\nKe8\nc\n"
            "+w00\n+w000\n-b00\n-b000\nep d6\nc\n.\n");
}

}  // namespace
}  // namespace vantro
