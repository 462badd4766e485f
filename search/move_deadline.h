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

// How late the engine obeys a move-now, learnt from its answers: the next
// fixed-time search asks that much earlier. Some engines read their input
// only now and then (Phalanx: 30 to 200 ms), which a fixed margin cannot
// cover. Used under the search's lock.
class MoveNowLag {
 public:
  // The lead before the GUI's movetime at which to ask for the move: at
  // least a margin for the answer to travel, at most half the movetime.
  int LeadMs(int movetimeMs) const;
  void Sent(unsigned searchNumber);
  // The move of search `searchNumber` arrived; learns from it if a move-now
  // of that search was waiting for it.
  void Answered(unsigned searchNumber);
  // A slow answer counts at once; fast ones bring the lag down by an eighth.
  static int Learn(int learntMs, int observedMs);

 private:
  unsigned sentFor_ = 0;
  std::chrono::steady_clock::time_point sentAt_;
  int learntMs_ = 0;
};

}  // namespace vantro
