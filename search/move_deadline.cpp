#include "search/move_deadline.h"

#include <algorithm>
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

int MoveNowLag::LeadMs(int movetimeMs) const {
  // Even an engine that reads its input often answers now and then 100 ms
  // late on a busy machine (Sjeng: half its answers within 6 ms, one in a
  // hundred after 70 ms or more): a short movetime keeps a quarter back.
  const int margin = std::clamp(movetimeMs / 4, 20, 100);
  return std::max(0, std::min(std::max(margin, learntMs_), movetimeMs / 2));
}

void MoveNowLag::Sent(unsigned searchNumber) {
  sentFor_ = searchNumber;
  sentAt_ = std::chrono::steady_clock::now();
}

void MoveNowLag::Answered(unsigned searchNumber) {
  if (sentFor_ == 0 || sentFor_ != searchNumber) return;
  sentFor_ = 0;
  const auto lag = std::chrono::steady_clock::now() - sentAt_;
  learntMs_ =
      Learn(learntMs_,
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(lag).count()));
}

int MoveNowLag::Learn(int learntMs, int observedMs) {
  return std::max(observedMs, learntMs - learntMs / 8);
}

}  // namespace vantro
