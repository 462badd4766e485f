#pragma once

#include <cstddef>
#include <memory>

#include "platform/unique_handle.h"

namespace vantro {

// How a reader thread blocks on its input and how a stop wakes it: poll on
// the input and a wake-up pipe on POSIX, a cancelled ReadFile on Windows.
class ReaderWake {
 public:
  static constexpr long kWoken = -1;

  ReaderWake();
  ~ReaderWake();
  ReaderWake(const ReaderWake&) = delete;
  ReaderWake& operator=(const ReaderWake&) = delete;

  bool Usable() const;
  // No reader active: forget wake-ups meant for an earlier thread.
  void Forget();
  // On the reader thread, around its reads.
  void Enter();
  void Leave();
  // Any thread: a blocked Read returns kWoken soon after.
  void Wake();
  // Bytes read; 0 at the end of the input or on a failure; kWoken when woken
  // or interrupted, after which the caller checks why.
  long Read(NativeHandle input, char* block, std::size_t size);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vantro
