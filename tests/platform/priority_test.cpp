#include "platform/priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <thread>

#include "platform_test_util.h"

namespace vantro {
namespace {

constexpr std::uint32_t kIdle = kIdlePriorityClass, kBelow = kBelowNormalPriorityClass,
                        kNormal = kNormalPriorityClass, kAbove = kAboveNormalPriorityClass,
                        kHigh = kHighPriorityClass, kRealtime = kRealtimePriorityClass;

TEST(PriorityTest, MapsClassAndThreadPriorityToOneNiceValue) {
  struct Case {
    std::uint32_t priorityClass;
    int threadPriority, nice;
  };
  // A thread step is two nice steps; the sum is clamped to [-20, 19].
  // clang-format off
  const Case cases[] = {
      {kIdle, 0, 19}, {kBelow, 0, 10}, {kNormal, 0, 0}, {kAbove, 0, -5}, {kHigh, 0, -10},
      {kRealtime, 0, -20}, {0x1234, 0, 0},  // an unknown class counts as normal
      {kNormal, kThreadPriorityIdle, 19}, {kNormal, kThreadPriorityLowest, 4},
      {kNormal, kThreadPriorityBelowNormal, 2}, {kNormal, kThreadPriorityAboveNormal, -2},
      {kNormal, kThreadPriorityHighest, -4}, {kNormal, kThreadPriorityTimeCritical, -20},
      {kBelow, kThreadPriorityLowest, 14}, {kHigh, kThreadPriorityIdle, 9},
      {kIdle, kThreadPriorityBelowNormal, 19}, {kRealtime, kThreadPriorityHighest, -20},
      {kNormal, -7, 14}, {kNormal, INT_MAX, -20}, {kNormal, INT_MIN, 19}};
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(NiceForPriority(c.priorityClass, c.threadPriority), c.nice)
        << c.priorityClass << " " << c.threadPriority;
  }
}

TEST(PriorityTest, ReadsTheNearestClassForANiceValueAndTheMilderOneOnATie) {
  const std::pair<int, std::uint32_t> cases[] = {
      {19, kIdle},  {15, kIdle},  {14, kBelow}, {10, kBelow}, {5, kNormal}, {2, kNormal},
      {0, kNormal}, {-3, kAbove}, {-5, kAbove}, {-10, kHigh}, {-15, kHigh}, {-20, kRealtime},
  };
  for (const auto& [nice, priorityClass] : cases) {
    EXPECT_EQ(PriorityClassForNice(nice), priorityClass) << nice;
  }
}

TEST(PriorityTest, SettingTheThreadPriorityChangesOnlyTheCallingThread) {
  int mainNice = test::NiceOf(getpid());
  int threadNice = 1000;
  bool changed = false;
  std::thread([&] {
    changed = SetOwnThreadPriority(kThreadPriorityLowest);
    threadNice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  }).join();
  EXPECT_TRUE(changed);
  EXPECT_EQ(threadNice, NiceForPriority(GetOwnPriorityClass(), kThreadPriorityLowest));
  EXPECT_EQ(test::NiceOf(getpid()), mainNice);
}

// Runs in a child process, as a nice value once raised cannot be lowered.
void LowerOwnClassAndCheckEveryThread() {
  std::promise<void> done;
  std::thread other([finished = done.get_future()] { finished.wait(); });
  bool ok = SetOwnPriorityClass(kBelow) && GetOwnPriorityClass() == kBelow;
  int threads = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::vector<std::string> stat = test::ProcStat(task.path().string());
    ok = ok && stat.size() > 16 && stat[16] == "10";
    ++threads;
  }
  done.set_value();
  other.join();
  std::_Exit(ok && threads >= 2 ? 0 : 1);
}

TEST(PriorityDeathTest, SettingTheOwnClassReachesEveryThreadAndReadsBack) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LowerOwnClassAndCheckEveryThread(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantro
