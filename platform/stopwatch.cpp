#include "platform/stopwatch.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace vantro {

namespace {

std::uint32_t ClampMilliseconds(std::int64_t milliseconds) {
  return static_cast<std::uint32_t>(
      std::clamp<std::int64_t>(milliseconds, 0, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

Stopwatch::Stopwatch(TickSource ticks) : ticks_(std::move(ticks)) {}

void Stopwatch::Start() {
  accumulated_ = 0;
  running_ = true;
  startTick_ = Now();
}

std::uint32_t Stopwatch::Stop() {
  if (running_) {
    running_ = false;
    accumulated_ += Now() - startTick_;  // unsigned: correct across the wrap
  }
  return accumulated_;
}

std::uint32_t Stopwatch::Elapsed() const {
  if (!running_) return accumulated_;
  return accumulated_ + (Now() - startTick_);
}

void Stopwatch::Resume() {
  startTick_ = Now();
  running_ = true;
}

void Stopwatch::Reset() {
  startTick_ = 0;
  accumulated_ = 0;
  running_ = false;
}

void Stopwatch::Set(std::int64_t milliseconds) {
  accumulated_ = ClampMilliseconds(milliseconds);
  if (running_) startTick_ = Now();
}

CountdownStopwatch::CountdownStopwatch(TickSource ticks) : Stopwatch(std::move(ticks)) {}

std::uint32_t CountdownStopwatch::Elapsed() const {
  std::uint32_t elapsed = Stopwatch::Elapsed();
  return limit_ > elapsed ? limit_ - elapsed : 0;
}

void CountdownStopwatch::Reset() {
  Stopwatch::Reset();
  limit_ = 0;
}

void CountdownStopwatch::Set(std::int64_t milliseconds) {
  std::uint32_t newLimit = ClampMilliseconds(milliseconds);
  if (Running()) {
    Start();
  } else {
    Reset();
  }
  limit_ = newLimit;
}

}  // namespace vantro
