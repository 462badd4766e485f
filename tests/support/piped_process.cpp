#include "support/piped_process.h"

#include <fstream>
#include <iostream>
#include <utility>

namespace vantro::test {
namespace {

using Clock = std::chrono::steady_clock;

// Transcript and log lines printed after a failure: the end is what matters.
constexpr size_t kShownLines = 60;
// How long an exited program's output may take to reach its end.
constexpr Duration kDrainAfterExit{1000};
// A program that takes no input for this long fails the Send: no test hangs.
constexpr int kSendStallMs = 30000;
constexpr int kStartAttempts = 3;
constexpr Duration kStartRetry{200};
// How often the destructor repeats its wake (see ReaderWake::Wake).
constexpr Duration kWakeRetry{10};

void PrintTail(const std::vector<std::string>& lines) {
  const size_t first = lines.size() > kShownLines ? lines.size() - kShownLines : 0;
  if (first > 0) std::cerr << "  ... " << first << " lines left out\n";
  for (size_t i = first; i < lines.size(); ++i) std::cerr << "  " << lines[i] << "\n";
}

}  // namespace

PipedProcess::PipedProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workDir)
    : program_(program), start_(Clock::now()) {
  const ChildProcess::Invocation run{program, args, workDir, workDir + "/stderr.txt", kSendStallMs};
  ShowOnFailure(run.errorFile);
  // Under wine on a busy machine a start now and then fails once; the next succeeds.
  for (int attempt = 1; child_.Start(run) == 0; ++attempt) {
    Note("cannot start " + program + " in " + workDir);
    if (attempt == kStartAttempts) {
      outputEnded_ = true;
      return;
    }
    std::this_thread::sleep_for(kStartRetry);
  }
  reader_ =
      std::thread([this, output = child_.TakeOutput()]() mutable { ReadLoop(std::move(output)); });
}

PipedProcess::~PipedProcess() {
  child_.Kill();
  child_.ExitStatus(static_cast<int>(kDrainAfterExit.count()));
  if (reader_.joinable()) {
    // A descendant may still hold the output open: the read is woken.
    stopping_ = true;
    std::unique_lock lock(mutex_);
    while (!changed_.wait_for(lock, kWakeRetry, [this] { return outputEnded_; })) wake_.Wake();
    lock.unlock();
    reader_.join();
  }
  if (::testing::Test::HasFailure()) PrintDiagnostics();
}

bool PipedProcess::Send(std::string_view line) {
  {
    std::lock_guard lock(mutex_);
    Note("> " + std::string(line));
  }
  return child_.Write(std::string(line) + "\n") == WriteResult::kDone;
}

void PipedProcess::CloseInput() {
  {
    std::lock_guard lock(mutex_);
    Note("> (end of input)");
  }
  child_.CloseInput();
}

void PipedProcess::ReadLoop(UniqueHandle output) {
  wake_.Enter();
  char block[4096];
  for (long got; !stopping_ && (got = wake_.Read(output.Get(), block, sizeof block)) != 0;) {
    if (got > 0) AddOutput({block, static_cast<size_t>(got)}, false);
  }
  wake_.Leave();
  AddOutput({}, true);
}

void PipedProcess::AddOutput(std::string_view data, bool ended) {
  std::lock_guard lock(mutex_);
  if (outputEnded_) return;
  partial_ += data;
  size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    lines_.push_back(partial_.substr(0, end));
    Note("< " + lines_.back());
    partial_.erase(0, end + 1);
  }
  if (ended && !partial_.empty()) {
    lines_.push_back(std::exchange(partial_, {}));
    Note("< " + lines_.back() + " (no line feed)");
  }
  outputEnded_ = ended;
  changed_.notify_all();
}

void PipedProcess::Note(std::string text) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  transcript_.push_back(std::to_string(ms) + " " + text);
}

std::optional<std::string> PipedProcess::ReadLine(Duration timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return !lines_.empty() || outputEnded_; });
  if (lines_.empty()) return {};
  received_.push_back(std::move(lines_.front()));
  lines_.pop_front();
  return received_.back();
}

std::optional<std::string> PipedProcess::WaitFor(std::string_view prefix, Duration timeout) {
  std::vector<std::string> lines = ReadUntil(prefix, timeout);
  if (lines.empty() || !lines.back().starts_with(prefix)) return {};
  return lines.back();
}

std::vector<std::string> PipedProcess::ReadUntil(std::string_view prefix, Duration timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::vector<std::string> lines;
  while (std::optional<std::string> line =
             ReadLine(std::chrono::duration_cast<Duration>(deadline - Clock::now()))) {
    lines.push_back(std::move(*line));
    if (lines.back().starts_with(prefix)) break;
  }
  return lines;
}

std::optional<int> PipedProcess::WaitExit(Duration timeout) {
  const std::optional<int> status = child_.ExitStatus(static_cast<int>(timeout.count()));
  if (!status) return {};
  // A descendant holding the pipe open must not keep the caller waiting long.
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, kDrainAfterExit, [this] { return outputEnded_; });
  return status;
}

void PipedProcess::PrintDiagnostics() {
  const std::optional<int> status = child_.ExitStatus(0);
  std::lock_guard lock(mutex_);
  std::cerr << "---- " << program_ << " (pid " << Pid()
            << "): sent (>) and received (<), ms ----\n";
  PrintTail(transcript_);
  if (status) std::cerr << "  exit status " << *status << "\n";
  for (const std::string& path : failureFiles_) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    if (!lines.empty()) std::cerr << "---- " << path << " ----\n";
    PrintTail(lines);
  }
}

}  // namespace vantro::test
