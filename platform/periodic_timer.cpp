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

// The state of the timer whose thread this is, so that a Stop from its own
// callback is recognised without touching members of the controlling thread.
thread_local const void* ownTimer = nullptr;

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
  // Set before the thread exists, as its callback may read them in Stop.
  shared_ = std::make_shared<Shared>();
  shared_->periodMs = periodMs_;
  shared_->callback = callback_;
  running_.store(true);
  try {
    thread_ = std::thread(&PeriodicTimer::Loop, shared_, threadPriority);
  } catch (const std::system_error&) {
    running_.store(false);
    return false;
  }
  return true;
}

void PeriodicTimer::Stop() {
  if (shared_ && ownTimer == shared_.get()) {
    // From its own callback: the loop ends when the callback returns, and the
    // controlling thread joins it later.
    running_.store(false);
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->running = false;
    return;
  }
  if (!thread_.joinable()) return;
  running_.store(false);
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->running = false;
  shared_->wake.notify_all();
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
  ownTimer = shared.get();
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
