#include "search/move_deadline.h"

#include <utility>

namespace vantro {

MoveDeadline::~MoveDeadline() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void MoveDeadline::Arm(int ms, std::function<void()> expire) {
  {
    std::lock_guard lock(mutex_);
    at_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    expire_ = std::move(expire);
    armed_ = true;
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  changed_.notify_all();
}

void MoveDeadline::Cancel() {
  std::lock_guard lock(mutex_);
  armed_ = false;
  expire_ = nullptr;
}

void MoveDeadline::Run() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    if (!armed_) {
      changed_.wait(lock);
      continue;
    }
    if (changed_.wait_until(lock, at_) == std::cv_status::no_timeout) continue;
    if (!armed_ || std::chrono::steady_clock::now() < at_) continue;
    armed_ = false;
    std::function<void()> expire = std::move(expire_);
    expire_ = nullptr;
    lock.unlock();
    if (expire) expire();
    lock.lock();
  }
}

}  // namespace vantro
