#include "platform/stopwatch.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vantro {
namespace {

class StopwatchTest : public ::testing::Test {
 protected:
  std::uint32_t now_ = 0;
  TickSource ticks_ = [this] { return now_; };
};

TEST_F(StopwatchTest, AccumulatesRunningIntervalsOnlyAndSetClampsToItsRange) {
  Stopwatch watch(ticks_);
  now_ = 1000;
  watch.Start();
  now_ = 2500;
  EXPECT_EQ(watch.Stop(), 1500u);
  now_ = 3500;
  watch.Resume();  // the pause does not count
  now_ = 4000;
  EXPECT_EQ(watch.Elapsed(), 2000u);
  watch.Set(-5);
  EXPECT_EQ(watch.Elapsed(), 0u);
  watch.Set(std::int64_t{1} << 40);
  EXPECT_EQ(watch.Elapsed(), 4294967295u);
}

TEST_F(StopwatchTest, MeasuresAcrossTheWrapOfTheTickCounterAndCountsDownToZero) {
  Stopwatch watch(ticks_);
  CountdownStopwatch countdown(ticks_);
  now_ = 4294967000u;
  watch.Start();
  countdown.Start();
  countdown.Set(2000);
  now_ = 704;
  EXPECT_EQ(watch.Elapsed(), 1000u);
  EXPECT_EQ(countdown.Elapsed(), 1000u);
  now_ = 100000;
  EXPECT_EQ(countdown.Elapsed(), 0u);  // never below zero
}

}  // namespace
}  // namespace vantro
