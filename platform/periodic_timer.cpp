#include "platform/periodic_timer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/priority.h"

namespace vantro {

namespace {

// A zero period would turn the timer into a busy loop.
constexpr std::uint32_t kMinPeriodMs = 1;

}  // namespace

// One per thread, so a thread left to finish alone never shares state with a
// later one.
struct PeriodicTimer::Shared {
  std::mutex mutex;
  std::condition_variable wake;      // running cleared
  std::condition_variable finished;  // done set
  bool running = true;
  bool done = false;
  std::uint32_t periodMs = kMinPeriodMs;
  std::function<void()> callback;
};

PeriodicTimer::PeriodicTimer() = default;

PeriodicTimer::~PeriodicTimer() {
  Stop();
}

void PeriodicTimer::SetCallback(std::function<void()> callback) {
  callback_ = std::move(callback);
}

bool PeriodicTimer::Start(std::uint32_t periodMs, int threadPriority) {
  periodMs_ = std::max(periodMs, kMinPeriodMs);
  if (thread_.joinable()) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->periodMs = periodMs_;
    return true;
  }
  auto shared = std::make_shared<Shared>();
  shared->periodMs = periodMs_;
  shared->callback = callback_;
  try {
    thread_ = std::thread(&PeriodicTimer::Loop, shared, threadPriority);
  } catch (const std::system_error&) {
    return false;
  }
  shared_ = std::move(shared);
  running_.store(true);
  return true;
}

void PeriodicTimer::Stop() {
  if (!thread_.joinable()) return;
  running_.store(false);
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->running = false;
  shared_->wake.notify_all();
  if (thread_.get_id() == std::this_thread::get_id()) {
    // Stopped from its own callback: the loop ends when the callback returns.
    lock.unlock();
    thread_.detach();
    return;
  }
  auto grace = std::chrono::milliseconds(
      std::max<std::uint64_t>(kStopWaitMs, 2 * std::uint64_t{shared_->periodMs}));
  bool done = shared_->finished.wait_for(lock, grace, [this] { return shared_->done; });
  lock.unlock();
  if (done) {
    thread_.join();
  } else {
    thread_.detach();  // stuck in its callback; it keeps its own state alive
  }
}

bool PeriodicTimer::Running() const {
  return running_.load();
}

void PeriodicTimer::Loop(std::shared_ptr<Shared> shared, int threadPriority) {
  SetOwnThreadPriority(threadPriority);
  std::unique_lock<std::mutex> lock(shared->mutex);
  while (shared->running) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(shared->periodMs);
    if (shared->wake.wait_until(lock, deadline, [&] { return !shared->running; })) break;
    lock.unlock();
    if (shared->callback) shared->callback();
    lock.lock();
  }
  shared->done = true;
  shared->finished.notify_all();
}

}  // namespace vantro
