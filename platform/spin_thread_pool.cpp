#include "platform/spin_thread_pool.h"

#include <system_error>

#include "platform/priority.h"

namespace vantro {

SpinThreadPool::~SpinThreadPool() {
  StopAll();
}

bool SpinThreadPool::SetCount(int n) {
  std::size_t wanted = n > 0 ? static_cast<std::size_t>(n) : 0;
  if (threads_.size() > wanted) StopAll();  // all of them, not only the surplus
  if (wanted == 0) return true;
  stop_.store(false);
  while (threads_.size() < wanted) {
    try {
      threads_.emplace_back([this, priority = priority_] {
        SetOwnThreadPriority(priority);
        // Burns processor time on purpose; the flag is read anew every turn.
        while (!stop_.load(std::memory_order_relaxed)) {
        }
      });
    } catch (const std::system_error&) {
      break;  // fewer spinners than asked for only slows the engine less
    }
  }
  return true;
}

void SpinThreadPool::StopAll() {
  stop_.store(true);
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

}  // namespace vantro
