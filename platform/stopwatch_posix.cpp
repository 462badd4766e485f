#include <time.h>

#include <cstdint>

#include "platform/stopwatch.h"

namespace vantro {

std::uint32_t SystemTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::uint64_t milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                               static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(milliseconds);  // wraps like the 32-bit tick count
}

}  // namespace vantro
