#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "search/move_deadline.h"

namespace vantro {
namespace {

// An engine that once took 150 ms to obey a move-now is asked that much
// earlier, never earlier than half the movetime; a fast answer lowers the lag
// by an eighth only, so one quick reply does not undo a slow one.
TEST(MoveNowLag, SlowAnswerMovesTheNextMoveNowEarlier) {
  MoveNowLag lag;
  EXPECT_EQ(lag.LeadMs(250), 62);
  EXPECT_EQ(lag.LeadMs(1000), 100);
  EXPECT_EQ(lag.LeadMs(5000), 100);
  EXPECT_EQ(lag.LeadMs(30), 15);
  lag.Sent(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  lag.Answered(2);  // another search's move teaches nothing
  EXPECT_EQ(lag.LeadMs(5000), 100);
  lag.Answered(1);
  EXPECT_EQ(lag.LeadMs(250), 125);
  EXPECT_GE(lag.LeadMs(5000), 150);
  EXPECT_EQ(MoveNowLag::Learn(160, 20), 140);
  EXPECT_EQ(MoveNowLag::Learn(40, 190), 190);
}

}  // namespace
}  // namespace vantro
