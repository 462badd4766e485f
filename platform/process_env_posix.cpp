#include "platform/process_env.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <optional>
#include <system_error>
#include <thread>

extern char** environ;

namespace vantro {

namespace {

// Keeps a write to a closed pipe from raising SIGPIPE in the calling thread,
// even when the process has not ignored the signal: the signal is blocked for
// the write and a SIGPIPE it caused is taken off the pending set again.
class BrokenPipeGuard {
 public:
  BrokenPipeGuard() {
    sigemptyset(&pipeSet_);
    sigaddset(&pipeSet_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) == 0) wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    blocked_ = pthread_sigmask(SIG_BLOCK, &pipeSet_, &oldMask_) == 0;
  }
  ~BrokenPipeGuard() {
    if (!blocked_) return;
    if (brokePipe_ && !wasPending_) {
      timespec noWait{};
      while (sigtimedwait(&pipeSet_, nullptr, &noWait) == -1 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
  }
  BrokenPipeGuard(const BrokenPipeGuard&) = delete;
  BrokenPipeGuard& operator=(const BrokenPipeGuard&) = delete;

  void NoteBrokenPipe() { brokePipe_ = true; }

 private:
  sigset_t pipeSet_;
  sigset_t oldMask_;
  bool blocked_ = false;
  bool wasPending_ = false;
  bool brokePipe_ = false;
};

// Reaps a detached child when it exits, so that it never stays a zombie.
void ReapWhenDone(pid_t pid) {
  try {
    std::thread([pid] {
      while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // Without a thread the child is left to its fate; its exit is of no interest.
  }
}

#ifdef __APPLE__
constexpr const char* kDesktopOpener = "open";
#else
constexpr const char* kDesktopOpener = "xdg-open";
#endif

// Set once SIGPIPE is ignored for good: writes then need no guard, which
// costs three system calls per line.
std::atomic<bool> brokenPipeIgnored{false};

}  // namespace

void PrepareStandardStreams() {
  if (signal(SIGPIPE, SIG_IGN) != SIG_ERR) brokenPipeIgnored = true;
}

NativeHandle StandardInput() {
  return STDIN_FILENO;
}

NativeHandle StandardOutput() {
  return STDOUT_FILENO;
}

WriteResult WriteAllWithin(NativeHandle handle, std::string_view data, int stallMs) {
  if (handle < 0) return WriteResult::kFailed;
  const int fd = static_cast<int>(handle);
  std::optional<BrokenPipeGuard> guard;
  if (!brokenPipeIgnored) guard.emplace();
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        // A full pipe: wait until it takes more instead of losing the rest.
        pollfd writable{fd, POLLOUT, 0};
        int ready = poll(&writable, 1, stallMs);
        if (ready == 0) return WriteResult::kStalled;
        if (ready > 0 || errno == EINTR) continue;
        return WriteResult::kFailed;
      }
      if (errno == EPIPE && guard) guard->NoteBrokenPipe();
      return WriteResult::kFailed;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return WriteResult::kDone;
}

bool WriteAll(NativeHandle handle, std::string_view data) {
  return WriteAllWithin(handle, data, -1) == WriteResult::kDone;
}

void OpenWithDesktop(const std::string& path) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return;
  }
  for (int fd = 0; fd <= 2; ++fd) {
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  // A group of its own keeps the GUI's interrupt away; default signal
  // handling undoes the adapter's ignored SIGPIPE.
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigset_t noneBlocked;
  sigemptyset(&noneBlocked);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &noneBlocked);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  char* argv[] = {const_cast<char*>(kDesktopOpener), const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, kDesktopOpener, &actions, &attributes, argv, environ) == 0) {
    ReapWhenDone(pid);
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
}

void SleepMs(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ExecutableDirectory() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string exe(path, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1);
}

}  // namespace vantro
