#include "platform/spin_thread_pool.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform_test_util.h"

namespace vantro {
namespace {

// A joined thread can stay listed for a moment, so fewer threads are waited for.
using test::ProcessThreads;

TEST(SpinThreadPoolTest, SetCountGrowsShrinksAndStopsAndDestructionStopsTheRest) {
  // A sanitizer starts a helper thread of its own with the first thread.
  std::thread([] {}).join();
  std::size_t before = ProcessThreads();
  {
    SpinThreadPool pool;
    for (int n : {2, 3, 1, 0, 2, -1, 1}) {
      EXPECT_TRUE(pool.SetCount(n));
      std::size_t expected = n < 0 ? 0 : static_cast<std::size_t>(n);
      EXPECT_EQ(pool.Count(), expected);
      EXPECT_TRUE(test::WaitUntil([&] { return ProcessThreads() == before + expected; })) << n;
    }
  }
  EXPECT_TRUE(test::WaitUntil([&] { return ProcessThreads() == before; }));
}

}  // namespace
}  // namespace vantro
