#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "base/log.h"

namespace vantro {

// The only writer to the GUI (standard output). Each line and its log entry
// are one indivisible step; the line feed is added here.
class GuiWriter {
 public:
  explicit GuiWriter(Logger& log, int fd = 1) : log_(log), fd_(fd) {}

  void Send(std::string_view line);
  // Tests capture the GUI's lines instead of writing a descriptor.
  void SetSink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }

 private:
  Logger& log_;
  int fd_;
  std::mutex mutex_;
  std::function<void(std::string_view)> sink_;
};

// `line` with exactly one final line feed added unless it ends in one.
std::string WithLineFeed(std::string_view line);

}  // namespace vantro
