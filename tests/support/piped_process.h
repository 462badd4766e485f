#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/child_process.h"
#include "platform/reader_wake.h"

namespace vantro::test {

using Duration = std::chrono::milliseconds;

// A program under test, its standard input and output on pipes. A
// reader thread collects output lines as they arrive; the Read/Wait calls
// hand them out in order and never block past their time-out. Lines lose
// only their line feed (a stray carriage return stays visible); an
// unterminated last line is handed out when the output ends.
//
// The program runs as the adapter runs its engine (ChildProcess), and the
// destructor kills it, so no test leaves a process behind. When the current
// test has failed, the destructor prints the transcript (lines sent ">" and
// received "<", in ms since the start) and the ShowOnFailure files, the first
// of which is the program's standard error, <workDir>/stderr.txt.
// All calls are for the test's own thread.
class PipedProcess {
 public:
  PipedProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& workDir);
  virtual ~PipedProcess();
  PipedProcess(const PipedProcess&) = delete;
  PipedProcess& operator=(const PipedProcess&) = delete;

  int Pid() const { return child_.ProcessId(); }
  // Sends `line` and a line feed; false when the program has ended or took
  // nothing of it for 30 s.
  bool Send(std::string_view line);
  void CloseInput();

  // The next line, or nothing when none arrives within `timeout` (or the output ended).
  std::optional<std::string> ReadLine(Duration timeout);
  // Reads until a line starts with `prefix` and returns it; earlier lines are dropped.
  std::optional<std::string> WaitFor(std::string_view prefix, Duration timeout);
  // Every line read up to and including the first that starts with `prefix`.
  std::vector<std::string> ReadUntil(std::string_view prefix, Duration timeout);
  // Every line handed out so far, in order.
  const std::vector<std::string>& Received() const { return received_; }

  // The exit status (128 + signal number after a signal), or nothing if the
  // program still runs after `timeout`. Its last output is collected first.
  std::optional<int> WaitExit(Duration timeout);
  // A file (a log) to print after the transcript when the test fails.
  void ShowOnFailure(std::string path) { failureFiles_.push_back(std::move(path)); }

 private:
  void ReadLoop(UniqueHandle output);
  void AddOutput(std::string_view data, bool ended);
  void Note(std::string text);  // to the transcript; mutex_ held
  void PrintDiagnostics();

  std::string program_;
  ChildProcess child_;
  std::chrono::steady_clock::time_point start_;
  std::vector<std::string> received_;
  std::vector<std::string> failureFiles_;

  // Shared with the reader thread.
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string partial_;  // output after the last line feed
  std::deque<std::string> lines_;
  bool outputEnded_ = false;
  std::vector<std::string> transcript_;

  ReaderWake wake_;
  std::atomic<bool> stopping_{false};
  std::thread reader_;
};

}  // namespace vantro::test
