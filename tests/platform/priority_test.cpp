#include "platform/priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform_test_util.h"

namespace vantro {
namespace {

struct NiceCase {
  std::uint32_t priorityClass;
  int threadPriority;
  int nice;
};

class NiceForPriorityTest : public ::testing::TestWithParam<NiceCase> {};

TEST_P(NiceForPriorityTest, MapsClassAndThreadPriorityToOneNiceValue) {
  EXPECT_EQ(NiceForPriority(GetParam().priorityClass, GetParam().threadPriority), GetParam().nice);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NiceForPriorityTest,
    ::testing::Values(
        NiceCase{kIdlePriorityClass, 0, 19}, NiceCase{kBelowNormalPriorityClass, 0, 10},
        NiceCase{kNormalPriorityClass, 0, 0}, NiceCase{kAboveNormalPriorityClass, 0, -5},
        NiceCase{kHighPriorityClass, 0, -10}, NiceCase{kRealtimePriorityClass, 0, -20},
        NiceCase{kNormalPriorityClass, kThreadPriorityIdle, 19},
        NiceCase{kNormalPriorityClass, kThreadPriorityLowest, 4},
        NiceCase{kNormalPriorityClass, kThreadPriorityBelowNormal, 2},
        NiceCase{kNormalPriorityClass, kThreadPriorityAboveNormal, -2},
        NiceCase{kNormalPriorityClass, kThreadPriorityHighest, -4},
        NiceCase{kNormalPriorityClass, kThreadPriorityTimeCritical, -20},
        NiceCase{kBelowNormalPriorityClass, kThreadPriorityLowest, 14},
        NiceCase{kHighPriorityClass, kThreadPriorityIdle, 9},
        NiceCase{kIdlePriorityClass, kThreadPriorityBelowNormal, 19},   // clamped
        NiceCase{kRealtimePriorityClass, kThreadPriorityHighest, -20},  // clamped
        NiceCase{kNormalPriorityClass, -7, 14}, NiceCase{kNormalPriorityClass, 7, -14},
        NiceCase{kNormalPriorityClass, INT_MAX, -20}, NiceCase{kNormalPriorityClass, INT_MIN, 19},
        NiceCase{0x1234, 0, 0}));  // an unknown class counts as normal

struct ClassCase {
  int nice;
  std::uint32_t priorityClass;
};

class PriorityClassForNiceTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(PriorityClassForNiceTest, ReadsTheNearestClassAndTheMilderOneOnATie) {
  EXPECT_EQ(PriorityClassForNice(GetParam().nice), GetParam().priorityClass);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PriorityClassForNiceTest,
    ::testing::Values(ClassCase{19, kIdlePriorityClass}, ClassCase{10, kBelowNormalPriorityClass},
                      ClassCase{0, kNormalPriorityClass}, ClassCase{-5, kAboveNormalPriorityClass},
                      ClassCase{-10, kHighPriorityClass}, ClassCase{-20, kRealtimePriorityClass},
                      ClassCase{5, kNormalPriorityClass}, ClassCase{14, kBelowNormalPriorityClass},
                      ClassCase{15, kIdlePriorityClass}, ClassCase{2, kNormalPriorityClass},
                      ClassCase{-3, kAboveNormalPriorityClass},
                      ClassCase{-15, kHighPriorityClass}));

TEST(PriorityTest, EveryClassSurvivesTheRoundTripThroughNice) {
  for (std::uint32_t priorityClass :
       {kIdlePriorityClass, kBelowNormalPriorityClass, kNormalPriorityClass,
        kAboveNormalPriorityClass, kHighPriorityClass, kRealtimePriorityClass}) {
    EXPECT_EQ(PriorityClassForNice(NiceForPriority(priorityClass, 0)), priorityClass);
  }
}

TEST(PriorityTest, ThreadPriorityReadsAsNormal) {
  EXPECT_EQ(GetOwnThreadPriority(), kThreadPriorityNormal);
}

TEST(PriorityTest, SettingTheThreadPriorityChangesOnlyTheCallingThread) {
  int mainNice = test::NiceOf(getpid());
  int threadNice = 1000;
  bool changed = false;
  std::thread worker([&] {
    changed = SetOwnThreadPriority(kThreadPriorityLowest);
    threadNice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  });
  worker.join();
  EXPECT_TRUE(changed);
  EXPECT_EQ(threadNice, NiceForPriority(GetOwnPriorityClass(), kThreadPriorityLowest));
  EXPECT_EQ(test::NiceOf(getpid()), mainNice);
}

// Runs in a child process, as a nice value once raised cannot be lowered.
void LowerOwnClassAndCheckEveryThread() {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  std::thread other([&] {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return done; });
  });
  bool ok = SetOwnPriorityClass(kBelowNormalPriorityClass) &&
            GetOwnPriorityClass() == kBelowNormalPriorityClass;
  int threads = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    ++threads;
    std::vector<std::string> stat = test::ProcStat(task.path().string());
    ok = ok && stat.size() > 16 && stat[16] == "10";
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  changed.notify_all();
  other.join();
  std::_Exit(ok && threads >= 2 ? 0 : 1);
}

TEST(PriorityDeathTest, SettingTheOwnClassReachesEveryThreadAndReadsBack) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LowerOwnClassAndCheckEveryThread(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantro
