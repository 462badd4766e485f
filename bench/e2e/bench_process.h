#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantro::bench {

using Clock = std::chrono::steady_clock;

// A program on pipes, as a GUI runs an engine: lines in, lines out, each read
// with a time limit. Its standard error goes to /dev/null.
class BenchProcess {
 public:
  BenchProcess(const std::vector<std::string>& argv, const std::string& workDir);
  ~BenchProcess();  // closes its input, waits a moment, then kills
  BenchProcess(const BenchProcess&) = delete;
  BenchProcess& operator=(const BenchProcess&) = delete;

  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // One write of `text` (lines with their line feeds).
  bool Write(std::string_view text);
  // The next line, without its line feed; nothing after `limit` or at the end.
  std::optional<std::string> ReadLine(Clock::duration limit);
  // Time the last line returned by ReadLine became available to this side.
  Clock::time_point LastLineTime() const { return lastLineTime_; }
  // Reads until a line starting with `prefix`; nothing on time-out.
  std::optional<std::string> ReadUntil(std::string_view prefix, Clock::duration limit);
  // Reads and drops whatever arrives within `quiet`.
  void Drain(Clock::duration quiet);

 private:
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string buffer_;
  std::size_t bufferStart_ = 0;
  Clock::time_point lastLineTime_{};
};

// Processor time used so far by all threads of `pid`, in nanoseconds; 0 when
// it cannot be read.
std::uint64_t ProcessCpuNs(pid_t pid);
// Resident and peak resident memory of `pid`, in kB.
struct Memory {
  long rssKb = 0;
  long peakKb = 0;
};
Memory ProcessMemory(pid_t pid);

// The program `name` found in PATH (or /usr/games), or empty.
std::string FindProgram(const std::string& name);

}  // namespace vantro::bench
