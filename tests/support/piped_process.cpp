#include "support/piped_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>

namespace vantro::test {
namespace {

using Clock = std::chrono::steady_clock;

// Transcript and log lines printed after a failure: the end is what matters.
constexpr size_t kShownLines = 200;
// How long an exited program's output may take to reach its end.
constexpr Duration kDrainAfterExit{1000};

bool MakePipe(UniqueFd& readEnd, UniqueFd& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd.Reset(fds[0]);
  writeEnd.Reset(fds[1]);
  return true;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A program that has gone must show as a failed Send, not end the test run.
void IgnoreSigpipe() {
  static std::once_flag once;
  std::call_once(once, [] { ::signal(SIGPIPE, SIG_IGN); });
}

void PrintTail(const std::vector<std::string>& lines, std::ostream& out) {
  const size_t first = lines.size() > kShownLines ? lines.size() - kShownLines : 0;
  if (first > 0) out << "  ... " << first << " lines left out\n";
  for (size_t i = first; i < lines.size(); ++i) out << "  " << lines[i] << "\n";
}

}  // namespace

PipedProcess::PipedProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workDir)
    : program_(program), workDir_(workDir), start_(Clock::now()) {
  IgnoreSigpipe();
  Spawn(program, args);
  if (pid_ <= 0) {
    outputEnded_ = errorsEnded_ = true;
    return;
  }
  reader_ = std::thread([this] { ReadLoop(); });
  reaper_ = std::thread([this] {
    int status = 0;
    pid_t result;
    do {
      result = ::waitpid(pid_, &status, 0);
    } while (result < 0 && errno == EINTR);
    const int exitStatus = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    std::lock_guard lock(mutex_);
    exitStatus_ = exitStatus;
    changed_.notify_all();
  });
}

// Between fork() and exec the child of this threaded process makes only
// async-signal-safe calls; everything it needs is prepared before. An exec
// failure comes back as errno through a close-on-exec pipe.
void PipedProcess::Spawn(const std::string& program, const std::vector<std::string>& args) {
  UniqueFd inputRead, outputWrite, errorsWrite, failureRead, failureWrite;
  if (!MakePipe(inputRead, input_) || !MakePipe(output_, outputWrite) ||
      !MakePipe(errors_, errorsWrite) || !MakePipe(failureRead, failureWrite) ||
      !MakePipe(wakeRead_, wakeWrite_)) {
    startError_ = "cannot create pipes";
    return;
  }
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const char* directory = workDir_.empty() ? nullptr : workDir_.c_str();

  const pid_t pid = ::fork();
  if (pid < 0) {
    startError_ = std::string("fork failed: ") + std::strerror(errno);
    return;
  }
  if (pid == 0) {
    ::setpgid(0, 0);
    ::signal(SIGPIPE, SIG_DFL);  // an ignored signal would stay ignored across exec
    ::dup2(inputRead.Get(), STDIN_FILENO);
    ::dup2(outputWrite.Get(), STDOUT_FILENO);
    ::dup2(errorsWrite.Get(), STDERR_FILENO);
    if (directory == nullptr || ::chdir(directory) == 0) ::execv(argv[0], argv.data());
    const int error = errno;
    (void)!::write(failureWrite.Get(), &error, sizeof error);
    ::_exit(127);
  }
  // Also set here, so that the group exists before the destructor could kill it.
  ::setpgid(pid, pid);
  failureWrite.Reset();
  int error = 0;
  ssize_t got;
  do {
    got = ::read(failureRead.Get(), &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof error)) {
    startError_ = "cannot start " + program + " in " + workDir_ + ": " + std::strerror(error);
    ::waitpid(pid, nullptr, 0);
    return;
  }
  pid_ = pid;
}

PipedProcess::~PipedProcess() {
  if (pid_ > 0) {
    if (!Exited()) {
      ::kill(-pid_, SIGKILL);
      ::kill(pid_, SIGKILL);  // in case the group could not be made
    }
    reaper_.join();
    WriteAll(wakeWrite_.Get(), "x");
    reader_.join();
  }
  if (::testing::Test::HasFailure()) PrintDiagnostics();
}

bool PipedProcess::Send(std::string_view line) {
  Note('>', line);
  return input_.Valid() && WriteAll(input_.Get(), std::string(line) + "\n");
}

bool PipedProcess::SendRaw(std::string_view text) {
  Note('>', text);
  return input_.Valid() && WriteAll(input_.Get(), text);
}

void PipedProcess::CloseInput() {
  Note('>', "(end of input)");
  input_.Reset();
}

void PipedProcess::ReadLoop() {
  pollfd fds[3] = {
      {output_.Get(), POLLIN, 0}, {errors_.Get(), POLLIN, 0}, {wakeRead_.Get(), POLLIN, 0}};
  char buffer[4096];
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    if (::poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[2].revents != 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      const std::string_view data(buffer, got > 0 ? static_cast<size_t>(got) : 0);
      if (got <= 0) fds[i].fd = -1;
      if (i == 0) {
        AddOutput(data, got <= 0);
      } else {
        std::lock_guard lock(mutex_);
        stderr_ += data;
        errorsEnded_ = got <= 0;
        changed_.notify_all();
      }
    }
  }
  AddOutput({}, true);
  std::lock_guard lock(mutex_);
  errorsEnded_ = true;
  changed_.notify_all();
}

void PipedProcess::AddOutput(std::string_view data, bool ended) {
  std::lock_guard lock(mutex_);
  if (outputEnded_) return;
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  partial_ += data;
  size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    lines_.push_back(partial_.substr(0, end));
    transcript_.push_back(std::to_string(ms) + " < " + lines_.back());
    partial_.erase(0, end + 1);
  }
  if (ended) {
    if (!partial_.empty()) {
      lines_.push_back(partial_);
      transcript_.push_back(std::to_string(ms) + " < " + partial_ + " (no line feed)");
      partial_.clear();
    }
    transcript_.push_back(std::to_string(ms) + " < (end of output)");
    outputEnded_ = true;
  }
  changed_.notify_all();
}

void PipedProcess::Note(char direction, std::string_view text) {
  std::lock_guard lock(mutex_);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  transcript_.push_back(std::to_string(ms) + " " + direction + " " + std::string(text));
}

std::optional<std::string> PipedProcess::TakeLine(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  changed_.wait_until(lock, deadline, [this] { return !lines_.empty() || outputEnded_; });
  if (lines_.empty()) return {};
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  received_.push_back(line);
  return line;
}

std::optional<std::string> PipedProcess::ReadLine(Duration timeout) {
  return TakeLine(Clock::now() + timeout);
}

std::optional<std::string> PipedProcess::WaitFor(std::string_view prefix, Duration timeout) {
  return WaitFor(StartsWith(std::string(prefix)), timeout);
}

std::optional<std::string> PipedProcess::WaitFor(const LineMatcher& matcher, Duration timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (std::optional<std::string> line = TakeLine(deadline)) {
    if (matcher(*line)) return line;
  }
  return {};
}

std::vector<std::string> PipedProcess::ReadUntil(std::string_view prefix, Duration timeout) {
  return ReadUntil(StartsWith(std::string(prefix)), timeout);
}

std::vector<std::string> PipedProcess::ReadUntil(const LineMatcher& matcher, Duration timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  std::vector<std::string> lines;
  while (std::optional<std::string> line = TakeLine(deadline)) {
    lines.push_back(std::move(*line));
    if (matcher(lines.back())) break;
  }
  return lines;
}

std::vector<std::string> PipedProcess::ReadFor(Duration duration) {
  const Clock::time_point deadline = Clock::now() + duration;
  std::vector<std::string> lines;
  while (std::optional<std::string> line = TakeLine(deadline)) lines.push_back(std::move(*line));
  return lines;
}

::testing::AssertionResult PipedProcess::NoLineWithin(Duration quiet) {
  if (std::optional<std::string> line = ReadLine(quiet)) {
    return ::testing::AssertionFailure() << "unexpected line \"" << *line << "\"";
  }
  return ::testing::AssertionSuccess();
}

std::string PipedProcess::Stderr() const {
  std::lock_guard lock(mutex_);
  return stderr_;
}

std::optional<int> PipedProcess::WaitExit(Duration timeout) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [this] { return exitStatus_.has_value(); })) return {};
  // What the program wrote just before it ended may still be in the pipes;
  // a descendant holding them open must not keep the caller waiting long.
  changed_.wait_for(lock, kDrainAfterExit, [this] { return outputEnded_ && errorsEnded_; });
  return exitStatus_;
}

bool PipedProcess::Exited() const {
  std::lock_guard lock(mutex_);
  return exitStatus_.has_value();
}

void PipedProcess::ShowOnFailure(std::string path) {
  failureFiles_.push_back(std::move(path));
}

void PipedProcess::PrintDiagnostics() const {
  std::ostream& out = std::cerr;
  out << "---- " << program_ << " (pid " << pid_ << "): sent (>) and received (<), ms ----\n";
  if (!startError_.empty()) out << "  " << startError_ << "\n";
  std::lock_guard lock(mutex_);
  PrintTail(transcript_, out);
  if (exitStatus_) out << "  exit status " << *exitStatus_ << "\n";
  if (!stderr_.empty()) out << "---- standard error ----\n" << stderr_ << "\n";
  for (const std::string& path : failureFiles_) {
    std::ifstream file(path);
    if (!file) continue;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    out << "---- " << path << " ----\n";
    PrintTail(lines, out);
  }
}

}  // namespace vantro::test
