#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vantro {

// What the main thread waits on: the engine event (an engine started, a stop
// without an engine, a failed start), the end of the engine reader once an
// engine runs, and the end of the GUI reader.
class MainSignals {
 public:
  enum class Wake { kTimeout, kEngineEvent, kEngineReaderEnded, kGuiReaderEnded, kBroken };

  void SignalEngineEvent() { Set(engineEvent_); }
  void EngineReaderEnded() { Set(engineReaderEnded_); }
  void GuiReaderEnded() { Set(guiReaderEnded_); }
  // Makes the next wait fail, so the main thread shuts down.
  void Break() { Set(broken_); }

  // The engine event is held until the main thread consumes it.
  bool EngineEventHeld() const {
    std::lock_guard lock(mutex_);
    return engineEventHeld_;
  }

  // Waits up to `timeout` for a signal. An engine event is consumed here;
  // the engine reader's end counts only once the event has been consumed.
  Wake Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    auto ready = [&] {
      return (engineEventHeld_ && engineEvent_) || (!engineEventHeld_ && engineReaderEnded_) ||
             guiReaderEnded_ || broken_;
    };
    if (!changed_.wait_for(lock, timeout, ready)) return Wake::kTimeout;
    if (engineEventHeld_ && engineEvent_) {
      engineEventHeld_ = false;
      return Wake::kEngineEvent;
    }
    if (!engineEventHeld_ && engineReaderEnded_) return Wake::kEngineReaderEnded;
    if (guiReaderEnded_) return Wake::kGuiReaderEnded;
    return Wake::kBroken;
  }

 private:
  void Set(bool& flag) {
    {
      std::lock_guard lock(mutex_);
      flag = true;
    }
    changed_.notify_all();
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool engineEventHeld_ = true;
  bool engineEvent_ = false;
  bool engineReaderEnded_ = false;
  bool guiReaderEnded_ = false;
  bool broken_ = false;
};

}  // namespace vantro
