#include <filesystem>
#include <iterator>

#include "platform_test_util.h"

namespace vantro::test {

std::size_t ProcessThreads() {
  auto tasks = std::filesystem::directory_iterator("/proc/self/task");
  return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

}  // namespace vantro::test
