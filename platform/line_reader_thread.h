#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "platform/unique_handle.h"

namespace vantro {

// A thread that cuts a byte stream into lines and hands each to a callback
// the moment its line feed arrives. Carriage returns are dropped wherever
// they stand; a last line without a line feed is never handed on. The reader
// ends when the input ends or fails, when the callback returns false, or when
// it is stopped; a stop wakes a blocked read, so no thread is ever killed.
// A line longer than kMaxLineBytes is dropped whole, so that hostile input
// cannot exhaust memory.
//
// The setters, Start, Stop and the destructor belong to one controlling
// thread; RequestStop, HasThread, LoopEnded and Stopped may be called from
// any thread,
// RequestStop also from the callback.
class LineReaderThread {
 public:
  using Callback = std::function<bool(std::string_view line)>;

  LineReaderThread();
  virtual ~LineReaderThread();  // Stop()
  LineReaderThread(const LineReaderThread&) = delete;
  LineReaderThread& operator=(const LineReaderThread&) = delete;

  // Set before Start. The reader owns an input given as UniqueHandle; a borrowed
  // handle (standard input) is never closed.
  void SetInput(UniqueHandle input);
  void SetBorrowedInput(NativeHandle input);
  void SetCallback(Callback callback);
  // Called on the reader thread once its loop has ended, for whatever reason.
  void SetOnEnd(std::function<void()> onEnd);
  // Called on the reader thread once the lines of one read have all been
  // handed on: the place to pass on output gathered for them in one piece.
  void SetAfterRead(std::function<void()> afterRead);

  // True when a thread runs or has run and not been stopped since.
  bool Start(int threadPriority);
  // Asks the thread to end and waits up to `waitMs`; a thread still busy in
  // its callback after that is left to finish alone (see Busy).
  void Stop(int waitMs = kStopWaitMs);
  // Asks the thread to end without waiting.
  void RequestStop();
  // The thread exists (started and not yet stopped).
  bool HasThread() const;
  // The loop has ended (input closed, callback said stop, or a stop it saw).
  bool LoopEnded() const;
  // Stop has returned since the last Start, whether or not the thread
  // finished within the wait.
  bool Stopped() const;
  // A thread still runs the loop or its end callback, also one left alone
  // by Stop: what the callbacks use must outlive it.
  bool Busy() const;

  static constexpr int kStopWaitMs = 1000;
  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

 private:
  struct Shared;
  static void Loop(std::shared_ptr<Shared> shared, int threadPriority);

  // Kept alive by the thread too, so a thread left to finish alone never
  // touches a destroyed object.
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  std::atomic<bool> hasThread_{false};
};

}  // namespace vantro
