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

constexpr milliseconds kPatience(5000);

// Records the moments of the timer's calls.
class CallLog {
 public:
  std::function<void()> Callback() {
    return [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(Clock::now());
      changed_.notify_all();
    };
  }
  bool WaitForCalls(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return calls_.size() >= count; });
  }
  std::vector<Clock::time_point> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Clock::time_point> calls_;
};

TEST(PeriodicTimerTest, CallsOnePeriodAfterStartAndThenEveryPeriod) {
  CallLog log;
  PeriodicTimer timer;
  timer.SetCallback(log.Callback());
  auto start = Clock::now();
  ASSERT_TRUE(timer.Start(40, 0));
  EXPECT_TRUE(timer.Running());
  ASSERT_TRUE(log.WaitForCalls(3));
  timer.Stop();
  std::vector<Clock::time_point> calls = log.Calls();
  EXPECT_GE(calls[0] - start, milliseconds(40));
  EXPECT_GE(calls[1] - calls[0], milliseconds(40));
  EXPECT_GE(calls[2] - calls[1], milliseconds(40));
}

TEST(PeriodicTimerTest, NoCallStartsAfterStopHasReturned) {
  CallLog log;
  PeriodicTimer timer;
  timer.SetCallback(log.Callback());
  ASSERT_TRUE(timer.Start(5, 0));
  ASSERT_TRUE(log.WaitForCalls(2));
  timer.Stop();
  EXPECT_FALSE(timer.Running());
  std::size_t callsAtStop = log.Calls().size();
  std::this_thread::sleep_for(milliseconds(50));
  EXPECT_EQ(log.Calls().size(), callsAtStop);
}

TEST(PeriodicTimerTest, StopWakesAWaitingTimerAtOnce) {
  CallLog log;
  PeriodicTimer timer;
  timer.SetCallback(log.Callback());
  ASSERT_TRUE(timer.Start(60000, 0));
  auto start = Clock::now();
  timer.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(PeriodicTimer::kStopWaitMs / 2));
  EXPECT_TRUE(log.Calls().empty());
}

TEST(PeriodicTimerTest, CanBeStartedAgainAfterStop) {
  CallLog log;
  PeriodicTimer timer;
  timer.SetCallback(log.Callback());
  ASSERT_TRUE(timer.Start(5, 0));
  ASSERT_TRUE(log.WaitForCalls(1));
  timer.Stop();
  std::size_t callsAtStop = log.Calls().size();
  ASSERT_TRUE(timer.Start(5, 0));
  EXPECT_TRUE(log.WaitForCalls(callsAtStop + 2));
}

TEST(PeriodicTimerTest, StartWhileRunningChangesThePeriodFromTheNextInterval) {
  CallLog log;
  PeriodicTimer timer;
  timer.SetCallback(log.Callback());
  ASSERT_TRUE(timer.Start(10, 0));
  ASSERT_TRUE(log.WaitForCalls(1));
  EXPECT_TRUE(timer.Start(60000, 0));
  EXPECT_TRUE(timer.Running());
  std::this_thread::sleep_for(milliseconds(100));
  // At most the interval already under way ends with a call.
  EXPECT_LE(log.Calls().size(), 3u);
  std::size_t calls = log.Calls().size();
  std::this_thread::sleep_for(milliseconds(100));
  EXPECT_EQ(log.Calls().size(), calls);
}

TEST(PeriodicTimerTest, ACallbackMayStopItsOwnTimer) {
  PeriodicTimer timer;
  std::mutex mutex;
  std::condition_variable changed;
  int calls = 0;
  timer.SetCallback([&] {
    timer.Stop();
    std::lock_guard<std::mutex> lock(mutex);
    ++calls;
    changed.notify_all();
  });
  ASSERT_TRUE(timer.Start(5, 0));
  std::unique_lock<std::mutex> lock(mutex);
  ASSERT_TRUE(changed.wait_for(lock, kPatience, [&] { return calls > 0; }));
  EXPECT_FALSE(timer.Running());
  lock.unlock();
  std::this_thread::sleep_for(milliseconds(50));
  lock.lock();
  EXPECT_EQ(calls, 1);
}

TEST(PeriodicTimerTest, StopWithoutStartDoesNothing) {
  PeriodicTimer timer;
  timer.Stop();
  EXPECT_FALSE(timer.Running());
}

}  // namespace
}  // namespace vantro
