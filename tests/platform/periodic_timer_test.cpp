#include "platform/periodic_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace vantro {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// A timer that records the moments of its calls.
class PeriodicTimerTest : public ::testing::Test {
 protected:
  PeriodicTimerTest() {
    timer_.SetCallback([this] {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(Clock::now());
      changed_.notify_all();
    });
  }
  bool WaitForCalls(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, milliseconds(5000), [&] { return calls_.size() >= count; });
  }
  std::vector<Clock::time_point> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Clock::time_point> calls_;
  PeriodicTimer timer_;  // destroyed first: stops before the log goes
};

TEST_F(PeriodicTimerTest, CallsOnePeriodAfterStartAndThenEveryPeriod) {
  auto start = Clock::now();
  ASSERT_TRUE(timer_.Start(40, 0));
  ASSERT_TRUE(WaitForCalls(3));
  timer_.Stop();
  std::vector<Clock::time_point> calls = Calls();
  EXPECT_GE(calls[0] - start, milliseconds(40));
  EXPECT_GE(calls[2] - calls[1], milliseconds(40));
}

TEST_F(PeriodicTimerTest, StopWakesAWaitingTimerAtOnceAndNoCallFollowsIt) {
  ASSERT_TRUE(timer_.Start(60000, 0));
  auto start = Clock::now();
  timer_.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(PeriodicTimer::kStopWaitMs / 2));
  ASSERT_TRUE(timer_.Start(5, 0));
  ASSERT_TRUE(WaitForCalls(2));
  timer_.Stop();
  std::size_t callsAtStop = Calls().size();
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(Calls().size(), callsAtStop);
}

}  // namespace
}  // namespace vantro
