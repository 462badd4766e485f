#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vantro {

// One pending call at a point in time, on a thread of its own: the move-now
// at the end of a fixed time per move. Arming again replaces the call.
class MoveDeadline {
 public:
  MoveDeadline() = default;
  MoveDeadline(const MoveDeadline&) = delete;
  MoveDeadline& operator=(const MoveDeadline&) = delete;
  ~MoveDeadline();

  // Calls `expire` once after `ms` unless Arm or Cancel comes first. The call
  // runs without this object's lock, so it may take the caller's locks.
  void Arm(int ms, std::function<void()> expire);
  void Cancel();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
  bool armed_ = false;
  bool quit_ = false;
  std::chrono::steady_clock::time_point at_;
  std::function<void()> expire_;
};

}  // namespace vantro
