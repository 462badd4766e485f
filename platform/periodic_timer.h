#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace vantro {

// Calls a callback every `period` milliseconds on its own thread, the first
// time one period after Start and then one period after the end of each call.
// Stop wakes the thread at once; no call starts after Stop has returned. Stop
// waits for a call in progress up to kStopWaitMs or twice the period,
// whichever is longer, and then leaves the thread to finish alone. A period
// changed while running takes effect from the next interval. Start, Stop and
// the destructor belong to one controlling thread; Running() may be asked
// from any thread.
class PeriodicTimer {
 public:
  PeriodicTimer();
  virtual ~PeriodicTimer();  // Stop()
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  void SetCallback(std::function<void()> callback);  // before Start
  // Stores the period (also when running); true when a thread runs afterwards.
  bool Start(std::uint32_t periodMs, int threadPriority);
  void Stop();
  bool Running() const;

  static constexpr std::uint32_t kStopWaitMs = 1000;

 private:
  struct Shared;
  static void Loop(std::shared_ptr<Shared> shared, int threadPriority);

  std::function<void()> callback_;
  std::uint32_t periodMs_ = 0;
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::shared_ptr<Shared> shared_;  // the state of the current or last thread
};

}  // namespace vantro
