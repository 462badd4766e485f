#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine_io.h"

namespace vantro::fake {

// Reads standard input on a thread of its own, so that every line is logged
// with the time it arrived even while the dispatcher sleeps in a script
// action, and hands the lines on in order. Carriage returns before the line
// feed are dropped; a last line without a line feed is still a line.
class InputReader {
 public:
  explicit InputReader(EngineLog& log);
  ~InputReader();  // waits for the end of input
  InputReader(const InputReader&) = delete;
  InputReader& operator=(const InputReader&) = delete;

  // The next line; nothing once the input has ended and all lines were taken.
  std::optional<std::string> Next();

  // Longer lines are cut here; the rest up to the line feed is dropped.
  static constexpr size_t kMaxLineBytes = 1 << 20;

 private:
  void ReadLoop();
  void Deliver(std::string line);

  EngineLog& log_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> lines_;
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace vantro::fake
