#pragma once

#include <chrono>
#include <cstddef>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "support/temp_dir.h"

// Helpers shared by the platform tests: files, waiting, thread counts.
namespace vantro::test {

inline void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

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
