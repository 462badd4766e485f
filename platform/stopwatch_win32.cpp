#include <windows.h>

#include <cstdint>

#include "platform/stopwatch.h"

namespace vantro {

std::uint32_t SystemTicks() {
  return GetTickCount();  // wraps after 49.7 days; every interval is a 32-bit difference
}

}  // namespace vantro
