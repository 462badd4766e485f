#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>

#include "support/temp_dir.h"

// Helpers shared by the platform tests: waiting, thread counts.
namespace vantro::test {

// Polls for up to five seconds: states of other processes signal nothing.
inline bool WaitUntil(const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Threads of this process as the system sees them.
std::size_t ProcessThreads();

}  // namespace vantro::test
