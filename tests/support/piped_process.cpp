#include "support/piped_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

bool MakePipe(UniqueFd& readEnd, UniqueFd& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd = UniqueFd(fds[0]);
  writeEnd = UniqueFd(fds[1]);
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

void PrintTail(const std::vector<std::string>& lines) {
  const size_t first = lines.size() > kShownLines ? lines.size() - kShownLines : 0;
  if (first > 0) std::cerr << "  ... " << first << " lines left out\n";
  for (size_t i = first; i < lines.size(); ++i) std::cerr << "  " << lines[i] << "\n";
}

}  // namespace

PipedProcess::PipedProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workDir)
    : program_(program), start_(Clock::now()) {
  const std::string stderrPath = workDir + "/stderr.txt";
  ShowOnFailure(stderrPath);
  // A program that has gone must show as a failed Send, not end the test run.
  ::signal(SIGPIPE, SIG_IGN);
  UniqueFd inputRead, outputWrite;
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  if (MakePipe(inputRead, input_) && MakePipe(output_, outputWrite) &&
      MakePipe(wakeRead_, wakeWrite_)) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputRead.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputWrite.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);  // an ignored signal would stay ignored in the child
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) Note("cannot start " + program + " in " + workDir + ": " + strerror(error));
    if (error == 0) pid_ = pid;
  }
  if (pid_ <= 0) {
    outputEnded_ = true;
    return;
  }
  reader_ = std::thread([this] { ReadLoop(); });
  reaper_ = std::thread([this] {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    std::lock_guard lock(mutex_);
    exitStatus_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    changed_.notify_all();
  });
}

PipedProcess::~PipedProcess() {
  if (pid_ > 0) {
    bool running;
    {
      std::lock_guard lock(mutex_);
      running = !exitStatus_;
    }
    if (running) ::kill(-pid_, SIGKILL);
    reaper_.join();
    WriteAll(wakeWrite_.Get(), "x");
    reader_.join();
  }
  if (::testing::Test::HasFailure()) PrintDiagnostics();
}

bool PipedProcess::Send(std::string_view line) {
  {
    std::lock_guard lock(mutex_);
    Note("> " + std::string(line));
  }
  return input_.Valid() && WriteAll(input_.Get(), std::string(line) + "\n");
}

void PipedProcess::CloseInput() {
  {
    std::lock_guard lock(mutex_);
    Note("> (end of input)");
  }
  input_ = UniqueFd();
}

void PipedProcess::ReadLoop() {
  pollfd fds[2] = {{output_.Get(), POLLIN, 0}, {wakeRead_.Get(), POLLIN, 0}};
  char buffer[4096];
  for (;;) {
    if (::poll(fds, 2, -1) < 0 && errno == EINTR) continue;
    if (fds[1].revents != 0 || fds[0].revents == 0) break;  // woken, or poll failed
    const ssize_t got = ::read(fds[0].fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    AddOutput({buffer, static_cast<size_t>(got)}, false);
  }
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

::testing::AssertionResult PipedProcess::NoLineWithin(Duration quiet) {
  if (std::optional<std::string> line = ReadLine(quiet)) {
    return ::testing::AssertionFailure() << "unexpected line \"" << *line << "\"";
  }
  return ::testing::AssertionSuccess();
}

std::optional<int> PipedProcess::WaitExit(Duration timeout) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [this] { return exitStatus_.has_value(); })) return {};
  // A descendant holding the pipe open must not keep the caller waiting long.
  changed_.wait_for(lock, kDrainAfterExit, [this] { return outputEnded_; });
  return exitStatus_;
}

void PipedProcess::PrintDiagnostics() {
  std::lock_guard lock(mutex_);
  std::cerr << "---- " << program_ << " (pid " << pid_ << "): sent (>) and received (<), ms ----\n";
  PrintTail(transcript_);
  if (exitStatus_) std::cerr << "  exit status " << *exitStatus_ << "\n";
  for (const std::string& path : failureFiles_) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    if (!lines.empty()) std::cerr << "---- " << path << " ----\n";
    PrintTail(lines);
  }
}

}  // namespace vantro::test
