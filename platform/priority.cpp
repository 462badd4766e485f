#include "platform/priority.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vantro {

namespace {

constexpr int kMinNice = -20;
constexpr int kMaxNice = 19;

struct ClassNice {
  std::uint32_t priorityClass;
  int nice;
};

// Ordered by distance from normal, so that a nice value half-way between two
// classes reads back as the milder one.
constexpr ClassNice kClassNice[] = {
    {kNormalPriorityClass, 0}, {kAboveNormalPriorityClass, -5}, {kBelowNormalPriorityClass, 10},
    {kHighPriorityClass, -10}, {kIdlePriorityClass, kMaxNice},  {kRealtimePriorityClass, kMinNice},
};

int ClampNice(std::int64_t nice) {
  return static_cast<int>(std::clamp<std::int64_t>(nice, kMinNice, kMaxNice));
}

// Each Win32 step of thread priority is two nice steps; idle and time critical
// (-15, 15) reach the ends of the nice range through the clamp.
int ThreadPriorityDelta(int threadPriority) {
  return ClampNice(-2 * static_cast<std::int64_t>(threadPriority));
}

}  // namespace

int NiceForPriority(std::uint32_t priorityClass, int threadPriority) {
  int base = 0;  // unknown classes count as normal
  for (const ClassNice& entry : kClassNice) {
    if (entry.priorityClass == priorityClass) base = entry.nice;
  }
  return ClampNice(static_cast<std::int64_t>(base) + ThreadPriorityDelta(threadPriority));
}

std::uint32_t PriorityClassForNice(int nice) {
  const ClassNice* best = &kClassNice[0];
  for (const ClassNice& entry : kClassNice) {
    if (std::abs(entry.nice - nice) < std::abs(best->nice - nice)) best = &entry;
  }
  return best->priorityClass;
}

}  // namespace vantro
