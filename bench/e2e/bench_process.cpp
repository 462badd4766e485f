#include "bench_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vantro::bench {

BenchProcess::BenchProcess(const std::vector<std::string>& argv, const std::string& workDir) {
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  toChild_ = in[1];
  fromChild_ = out[0];
}

BenchProcess::~BenchProcess() {
  if (toChild_ >= 0) close(toChild_);
  if (pid_ > 0) {
    for (int i = 0; i < 100; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  if (fromChild_ >= 0) close(fromChild_);
}

bool BenchProcess::Write(std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(toChild_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> BenchProcess::ReadLine(Clock::duration limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  for (;;) {
    std::size_t feed = buffer_.find('\n', bufferStart_);
    if (feed != std::string::npos) {
      std::string line = buffer_.substr(bufferStart_, feed - bufferStart_);
      bufferStart_ = feed + 1;
      if (bufferStart_ == buffer_.size()) {
        buffer_.clear();
        bufferStart_ = 0;
      }
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0) return {};
    pollfd p{fromChild_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) {
      if (errno == EINTR) continue;
      return {};
    }
    char block[65536];
    ssize_t n = ::read(fromChild_, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {};
    lastLineTime_ = Clock::now();
    if (bufferStart_ > 0) {
      buffer_.erase(0, bufferStart_);
      bufferStart_ = 0;
    }
    buffer_.append(block, static_cast<std::size_t>(n));
  }
}

std::optional<std::string> BenchProcess::ReadUntil(std::string_view prefix, Clock::duration limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  while (auto line = ReadLine(deadline - Clock::now())) {
    if (line->starts_with(prefix)) return line;
  }
  return {};
}

void BenchProcess::Drain(Clock::duration quiet) {
  while (ReadLine(quiet)) {
  }
}

std::uint64_t ProcessCpuNs(pid_t pid) {
  std::string dir = "/proc/" + std::to_string(pid) + "/task";
  DIR* tasks = opendir(dir.c_str());
  if (tasks == nullptr) return 0;
  std::uint64_t total = 0;
  while (dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream stat(dir + "/" + entry->d_name + "/schedstat");
    std::uint64_t ns = 0;
    if (stat >> ns) total += ns;
  }
  closedir(tasks);
  return total;
}

Memory ProcessMemory(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  Memory m;
  std::string key;
  long value;
  while (status >> key) {
    if (key == "VmRSS:" && status >> value) m.rssKb = value;
    if (key == "VmHWM:" && status >> value) m.peakKb = value;
  }
  return m;
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(std::string(path ? path : "") + ":/usr/games");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    std::string candidate = dir + "/" + name;
    if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace vantro::bench
