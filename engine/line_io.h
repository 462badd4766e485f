#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "base/log.h"
#include "platform/unique_handle.h"

namespace vantro {

// Where a writer's bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view data) = 0;
};

// A handle as a sink; a reader that closed its end is not an error here.
class HandleSink : public ByteSink {
 public:
  explicit HandleSink(NativeHandle handle) : handle_(handle) {}
  void Write(std::string_view data) override;

 private:
  NativeHandle handle_;
};

// The only writer to the GUI (standard output). Each line and its log entry
// are one indivisible step; the line feed is added here.
class GuiWriter {
 public:
  GuiWriter(Logger& log, ByteSink& out) : log_(log), out_(out) {}

  void Send(std::string_view line);
  // Holds this thread's lines back until Release, so that they go out in one
  // write; nothing when another thread holds. A line from another thread
  // meanwhile writes the held ones first: the order written is the order logged.
  void Hold();
  void Release();

 private:
  void WriteHeld();  // with mutex_ held

  Logger& log_;
  ByteSink& out_;
  std::mutex mutex_;
  std::string held_;        // lines not yet written, with their line feeds
  std::thread::id holder_;  // no thread when nobody holds
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
