#pragma once

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace vantro {

// Threads that only burn processor time, so that an engine competing with them
// runs slower. SetCount(n) with fewer threads than running stops them all and
// starts n anew.
class SpinThreadPool {
 public:
  SpinThreadPool() = default;
  virtual ~SpinThreadPool();  // StopAll()
  SpinThreadPool(const SpinThreadPool&) = delete;
  SpinThreadPool& operator=(const SpinThreadPool&) = delete;

  bool SetCount(int n);  // always true
  void StopAll();
  std::size_t Count() const { return threads_.size(); }

 private:
  std::vector<std::thread> threads_;
  std::atomic<bool> stop_{true};
  int priority_ = 0;
};

}  // namespace vantro
