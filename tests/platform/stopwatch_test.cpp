#include "platform/stopwatch.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vantro {
namespace {

TEST(StopwatchTest, MeasuresAcrossTheWrapOfTheTickCounterAndCountsDownToZero) {
  std::uint32_t now = 4294967000u;
  const TickSource ticks = [&now] { return now; };
  Stopwatch watch(ticks);
  CountdownStopwatch countdown(ticks);
  watch.Start();
  countdown.Start();
  countdown.Set(2000);
  now = 704;
  EXPECT_EQ(watch.Elapsed(), 1000u);
  EXPECT_EQ(countdown.Elapsed(), 1000u);
  now = 1704;
  EXPECT_EQ(watch.Stop(), 2000u);
  now = 100000;
  EXPECT_EQ(watch.Elapsed(), 2000u);   // a stopped watch stands still
  EXPECT_EQ(countdown.Elapsed(), 0u);  // never below zero
}

}  // namespace
}  // namespace vantro
