#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"
#include "support/line_matcher.h"

namespace vantro::test {

using Duration = std::chrono::milliseconds;

// A program under test, its standard input, output and error on pipes.
// Output lines are collected by a reader thread the moment they arrive and
// handed out in order by the Read/Wait calls, which all take a time-out and
// never block past it. Lines lose only their line feed (a carriage return
// stays, so that a stray one shows in a comparison); an unterminated last
// line is handed out when the output ends.
//
// The program runs in a process group of its own. The destructor kills that
// group if the program still runs and reaps it, so no test leaves a process
// behind, even when it fails half-way. When the current test has failed, the
// destructor also prints the transcript (every line sent and received, with
// milliseconds since the start), the program's standard error and the files
// registered with ShowOnFailure.
//
// All calls are for the test's own thread.
class PipedProcess {
 public:
  PipedProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& workDir);
  virtual ~PipedProcess();
  PipedProcess(const PipedProcess&) = delete;
  PipedProcess& operator=(const PipedProcess&) = delete;

  // Empty when the program started; otherwise why it did not.
  const std::string& StartError() const { return startError_; }
  int Pid() const { return pid_; }

  // Sends `line` and a line feed; false when the program no longer reads.
  bool Send(std::string_view line);
  // Sends `text` exactly as it is.
  bool SendRaw(std::string_view text);
  // Closes the program's standard input (it sees end of file).
  void CloseInput();

  // The next line, or nothing when none arrives within `timeout` (or the output ended).
  std::optional<std::string> ReadLine(Duration timeout);
  // Reads until a line starts with `prefix` (or satisfies `matcher`) and
  // returns it; the lines before it are read and dropped (see Received()).
  std::optional<std::string> WaitFor(std::string_view prefix, Duration timeout);
  std::optional<std::string> WaitFor(const LineMatcher& matcher, Duration timeout);
  // Every line read up to and including the first match. Without a match in
  // time the result holds what was read and its last line does not match.
  std::vector<std::string> ReadUntil(std::string_view prefix, Duration timeout);
  std::vector<std::string> ReadUntil(const LineMatcher& matcher, Duration timeout);
  // Every line that arrives within `duration` (and those already waiting).
  std::vector<std::string> ReadFor(Duration duration);
  // Success when no line arrives within `quiet`; the failure names the line.
  ::testing::AssertionResult NoLineWithin(Duration quiet);

  // Every line handed out so far, in order.
  const std::vector<std::string>& Received() const { return received_; }
  // Everything the program wrote to standard error so far.
  std::string Stderr() const;

  // The exit status (128 + signal number when a signal ended the program),
  // or nothing if it still runs after `timeout`. Once it has exited, its
  // last output and standard error are collected before this returns.
  std::optional<int> WaitExit(Duration timeout);
  bool Exited() const;

  // A file (a log) to print after the transcript when the test fails.
  void ShowOnFailure(std::string path);

 protected:
  const std::string& WorkDir() const { return workDir_; }

 private:
  void Spawn(const std::string& program, const std::vector<std::string>& args);
  void ReadLoop();
  void AddOutput(std::string_view data, bool ended);
  void Note(char direction, std::string_view text);
  void PrintDiagnostics() const;
  std::optional<std::string> TakeLine(std::chrono::steady_clock::time_point deadline);

  std::string program_;
  std::string workDir_;
  std::string startError_;
  int pid_ = -1;
  UniqueFd input_;
  UniqueFd output_;
  UniqueFd errors_;
  UniqueFd wakeRead_;  // written to end the reader thread
  UniqueFd wakeWrite_;
  std::chrono::steady_clock::time_point start_;
  std::vector<std::string> received_;
  std::vector<std::string> failureFiles_;

  // Shared with the reader and reaper threads.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::string partial_;  // output after the last line feed
  std::deque<std::string> lines_;
  bool outputEnded_ = false;
  bool errorsEnded_ = false;
  std::string stderr_;
  std::vector<std::string> transcript_;
  std::optional<int> exitStatus_;

  std::thread reader_;
  std::thread reaper_;
};

}  // namespace vantro::test
