#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "base/log.h"

namespace vantro {

// The only writer to the GUI (standard output). Each line and its log entry
// are one indivisible step; the line feed is added here.
class GuiWriter {
 public:
  explicit GuiWriter(Logger& log) : log_(log) {}

  void Send(std::string_view line);
  // Holds this thread's lines back until Release, so that they go out in one
  // write; nothing when another thread holds. A line from another thread
  // meanwhile writes the held ones first: the order written is the order logged.
  void Hold();
  void Release();
  // Tests capture the GUI's lines instead of writing a descriptor.
  void SetSink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }

 private:
  void WriteHeld();  // with mutex_ held

  Logger& log_;
  std::mutex mutex_;
  std::string held_;        // lines not yet written, with their line feeds
  std::thread::id holder_;  // no thread when nobody holds
  std::function<void(std::string_view)> sink_;
};

// Holds a writer's lines of this thread for one write until the scope ends.
template <class Writer>
class LinesHeld {
 public:
  explicit LinesHeld(Writer& writer) : writer_(writer) { writer_.Hold(); }
  ~LinesHeld() { writer_.Release(); }
  LinesHeld(const LinesHeld&) = delete;
  LinesHeld& operator=(const LinesHeld&) = delete;

 private:
  Writer& writer_;
};

// Appends `line` to `out` with one line feed added unless it ends in one.
void AppendWithLineFeed(std::string& out, std::string_view line);

}  // namespace vantro
