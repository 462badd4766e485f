#include "platform/periodic_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform_test_util.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// The period itself is checked end to end (the thinking-move poll).
TEST(PeriodicTimerTest, StopWakesAWaitingTimerAtOnceAndNoCallFollowsIt) {
  std::atomic<int> calls = 0;
  PeriodicTimer timer;  // after `calls`: stops before it goes
  timer.SetCallback([&] { ++calls; });
  ASSERT_TRUE(timer.Start(60000, 0));
  auto start = Clock::now();
  timer.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(PeriodicTimer::kStopWaitMs / 2));
  ASSERT_TRUE(timer.Start(5, 0));
  ASSERT_TRUE(test::WaitUntil([&] { return calls >= 2; }));
  timer.Stop();
  const int callsAtStop = calls;
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(calls, callsAtStop);
}

}  // namespace
}  // namespace vantro
