#pragma once

#include <cstdint>
#include <functional>

namespace vantro {

// A 32-bit millisecond tick counter that wraps after about 49.7 days.
using TickSource = std::function<std::uint32_t()>;

// The system's monotonic millisecond tick, truncated to 32 bits.
std::uint32_t SystemTicks();

// Measures elapsed milliseconds; can be stopped, resumed and set. Every
// interval is an unsigned 32-bit difference of ticks, so it is measured
// correctly across the wrap of the counter. Not thread-safe: the owner
// serialises access.
class Stopwatch {
 public:
  explicit Stopwatch(TickSource ticks = SystemTicks);
  virtual ~Stopwatch() = default;

  virtual void Start();          // from zero, running
  virtual std::uint32_t Stop();  // accumulated milliseconds
  virtual std::uint32_t Elapsed() const;
  virtual void Resume();                        // continue from the accumulated value
  virtual void Reset();                         // zero, stopped
  virtual void Set(std::int64_t milliseconds);  // negative counts as 0

  bool Running() const { return running_; }

 protected:
  std::uint32_t Now() const { return ticks_(); }

 private:
  TickSource ticks_;
  std::uint32_t startTick_ = 0;
  std::uint32_t accumulated_ = 0;
  bool running_ = false;
};

// The same clock with a limit: Elapsed() reports the time remaining until the
// limit, never below 0. Set() gives a new limit and measures from the moment
// of the call (when running) or from the next Start/Resume (when stopped).
class CountdownStopwatch : public Stopwatch {
 public:
  explicit CountdownStopwatch(TickSource ticks = SystemTicks);

  std::uint32_t Elapsed() const override;
  void Reset() override;
  void Set(std::int64_t milliseconds) override;

  std::uint32_t Limit() const { return limit_; }

 private:
  std::uint32_t limit_ = 0;
};

}  // namespace vantro
