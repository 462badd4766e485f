#include "platform/stopwatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace vantro {
namespace {

class StopwatchTest : public ::testing::Test {
 protected:
  std::uint32_t now_ = 0;
  TickSource ticks_ = [this] { return now_; };
};

TEST_F(StopwatchTest, AccumulatesRunningIntervalsAcrossStopAndResume) {
  Stopwatch watch(ticks_);
  now_ = 1000;
  watch.Start();
  now_ = 2500;
  EXPECT_EQ(watch.Stop(), 1500u);
  now_ = 3500;
  EXPECT_EQ(watch.Elapsed(), 1500u);  // stopped: the pause does not count
  watch.Resume();
  now_ = 4000;
  EXPECT_EQ(watch.Elapsed(), 2000u);
  EXPECT_TRUE(watch.Running());
}

TEST_F(StopwatchTest, MeasuresAnIntervalAcrossTheWrapOfTheTickCounter) {
  Stopwatch watch(ticks_);
  now_ = 4294967000u;
  watch.Start();
  now_ = 704;
  EXPECT_EQ(watch.Elapsed(), 1000u);
  now_ = 1704;
  EXPECT_EQ(watch.Stop(), 2000u);
}

TEST_F(StopwatchTest, StartBeginsFromZeroEvenWhileRunning) {
  Stopwatch watch(ticks_);
  watch.Start();
  now_ = 700;
  watch.Start();
  now_ = 800;
  EXPECT_EQ(watch.Elapsed(), 100u);
}

TEST_F(StopwatchTest, StopWhenStoppedReturnsTheAccumulatedValue) {
  Stopwatch watch(ticks_);
  watch.Start();
  now_ = 300;
  watch.Stop();
  now_ = 900;
  EXPECT_EQ(watch.Stop(), 300u);
  EXPECT_FALSE(watch.Running());
}

TEST_F(StopwatchTest, SetWhileRunningContinuesFromTheNewValue) {
  Stopwatch watch(ticks_);
  watch.Start();
  now_ = 5000;
  watch.Set(200);
  now_ = 5050;
  EXPECT_EQ(watch.Elapsed(), 250u);
}

TEST_F(StopwatchTest, SetClampsNegativeAndOversizedValues) {
  Stopwatch watch(ticks_);
  watch.Set(-5);
  EXPECT_EQ(watch.Elapsed(), 0u);
  watch.Set(std::int64_t{1} << 40);
  EXPECT_EQ(watch.Elapsed(), 4294967295u);
}

TEST_F(StopwatchTest, ResetStopsAndClears) {
  Stopwatch watch(ticks_);
  watch.Start();
  now_ = 100;
  watch.Reset();
  now_ = 200;
  EXPECT_FALSE(watch.Running());
  EXPECT_EQ(watch.Elapsed(), 0u);
}

TEST_F(StopwatchTest, CountdownSetWhileRunningCountsDownFromTheCallAndNeverBelowZero) {
  CountdownStopwatch countdown(ticks_);
  now_ = 100;
  countdown.Start();
  now_ = 900;
  countdown.Set(3000);
  EXPECT_EQ(countdown.Elapsed(), 3000u);
  now_ = 2900;
  EXPECT_EQ(countdown.Elapsed(), 1000u);
  now_ = 3900;
  EXPECT_EQ(countdown.Elapsed(), 0u);
  now_ = 100000;
  EXPECT_EQ(countdown.Elapsed(), 0u);
  EXPECT_TRUE(countdown.Running());
}

TEST_F(StopwatchTest, CountdownSetWhileStoppedHoldsItsLimitUntilStarted) {
  CountdownStopwatch countdown(ticks_);
  now_ = 50;
  countdown.Set(5000);
  now_ = 10000;
  EXPECT_EQ(countdown.Elapsed(), 5000u);
  EXPECT_FALSE(countdown.Running());
  countdown.Start();
  now_ = 11000;
  EXPECT_EQ(countdown.Elapsed(), 4000u);
  EXPECT_EQ(countdown.Limit(), 5000u);
}

TEST_F(StopwatchTest, CountdownCountsDownAcrossTheWrap) {
  CountdownStopwatch countdown(ticks_);
  now_ = 4294967000u;
  countdown.Start();
  countdown.Set(2000);
  now_ = 704;
  EXPECT_EQ(countdown.Elapsed(), 1000u);
}

TEST_F(StopwatchTest, CountdownResetClearsTheLimitAndNegativeSetGivesZero) {
  CountdownStopwatch countdown(ticks_);
  countdown.Set(700);
  countdown.Reset();
  EXPECT_EQ(countdown.Limit(), 0u);
  EXPECT_EQ(countdown.Elapsed(), 0u);
  countdown.Set(-1);
  EXPECT_EQ(countdown.Limit(), 0u);
}

TEST(SystemTicksTest, AdvancesWithTheMonotonicClock) {
  std::uint32_t before = SystemTicks();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  std::uint32_t passed = SystemTicks() - before;
  EXPECT_GE(passed, 29u);
  EXPECT_LT(passed, 5000u);
}

}  // namespace
}  // namespace vantro
