#include "platform/spin_thread_pool.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform_test_util.h"

namespace vantro {
namespace {

using test::WaitUntil;

// Threads of this process as the system sees them. A joined thread can stay
// listed for a moment, so fewer threads are waited for.
std::size_t ProcessThreads() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

TEST(SpinThreadPoolTest, SetCountGrowsShrinksAndStops) {
  SpinThreadPool pool;
  std::size_t before = ProcessThreads();
  EXPECT_TRUE(pool.SetCount(2));
  EXPECT_EQ(pool.Count(), 2u);
  EXPECT_TRUE(pool.SetCount(3));
  EXPECT_EQ(pool.Count(), 3u);
  EXPECT_EQ(ProcessThreads(), before + 3);
  EXPECT_TRUE(pool.SetCount(1));
  EXPECT_EQ(pool.Count(), 1u);
  EXPECT_TRUE(WaitUntil([&] { return ProcessThreads() == before + 1; }));
  EXPECT_TRUE(pool.SetCount(0));
  EXPECT_EQ(pool.Count(), 0u);
  EXPECT_TRUE(WaitUntil([&] { return ProcessThreads() == before; }));
}

TEST(SpinThreadPoolTest, NegativeCountStopsAllAndDestructionStopsTheRest) {
  std::size_t before = ProcessThreads();
  {
    SpinThreadPool pool;
    pool.SetCount(2);
    EXPECT_TRUE(pool.SetCount(-1));
    EXPECT_EQ(pool.Count(), 0u);
    pool.SetCount(1);
  }
  EXPECT_TRUE(WaitUntil([&] { return ProcessThreads() == before; }));
}

}  // namespace
}  // namespace vantro
