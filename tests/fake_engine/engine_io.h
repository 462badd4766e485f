#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

namespace vantro::fake {

// The record of what the fake engine received, for tests to read while it
// runs. One line per entry, "<ms since start> <text>", written with a single
// write and never buffered. Received lines are written as they are, except
// that one starting with "@" gets a second "@"; notes of the fake's own are
// "@<name> <detail>" ("@args", "@cwd", "@out", "@seed", "@illegal", "@exit",
// "@eof", "@script-error"). Without a path nothing is written.
class EngineLog {
 public:
  explicit EngineLog(const std::string& path);
  ~EngineLog();
  EngineLog(const EngineLog&) = delete;
  EngineLog& operator=(const EngineLog&) = delete;

  bool Opened() const { return fd_ >= 0; }
  void Received(std::string_view line);
  void Note(std::string_view name, std::string_view detail);

 private:
  void Write(std::string_view text);

  std::mutex mutex_;
  int fd_ = -1;
  std::chrono::steady_clock::time_point start_;
};

// The only writer of the fake's standard output and standard error; every
// text goes out in one write, at once, and is noted in the log as "@out".
class EngineOutput {
 public:
  explicit EngineOutput(EngineLog& log) : log_(log) {}

  void PrintLine(std::string_view text) { Print(std::string(text) + '\n'); }
  void Print(std::string_view text);  // as it is, without a line feed added
  void PrintError(std::string_view text);

 private:
  std::mutex mutex_;
  EngineLog& log_;
};

// Writes all of `text` to `fd`; false when the reader has gone.
bool WriteAll(int fd, std::string_view text);

// `text` with line feeds and carriage returns made visible, to keep log
// entries on one line.
std::string OneLine(std::string_view text);

}  // namespace vantro::fake
