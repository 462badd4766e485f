#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/child_process.h"
#include "platform/nice_posix.h"
#include "platform/priority.h"
#include "platform/process_env.h"

namespace vantro {

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr int kFirstFreeFd = 3;

// Everything the child needs, prepared before fork(): between fork() and
// exec the child of a threaded process may only make async-signal-safe calls.
struct ExecPlan {
  std::string file;
  std::vector<std::string> args;  // args[0] is the program's name
  std::string directory;          // empty: the current directory
  int nice = 0;
  pid_t parent = 0;  // the adapter
  std::vector<char*> argv;
  std::vector<char*> shellArgv;  // runs a script without "#!" as execvp does
  std::string shell = kShell;
};

bool MakePlan(const ChildProcess::Invocation& run, ExecPlan& plan) {
  std::optional<std::string> file = FindOnPath(run.program);
  if (!file) return false;
  plan.file = std::move(*file);
  plan.args.push_back(run.program);
  plan.args.insert(plan.args.end(), run.args.begin(), run.args.end());
  plan.directory = run.directory;
  for (std::string& arg : plan.args) plan.argv.push_back(arg.data());
  plan.argv.push_back(nullptr);
  plan.shellArgv.push_back(plan.shell.data());
  plan.shellArgv.push_back(plan.file.data());
  for (std::size_t i = 1; i < plan.args.size(); ++i) plan.shellArgv.push_back(plan.args[i].data());
  plan.shellArgv.push_back(nullptr);
  return true;
}

// Moves `fd` above the standard descriptors, so that the child's dup2()
// onto 0, 1 and 2 cannot overwrite one of them with another.
bool MoveHigh(UniqueHandle& fd) {
  if (fd.Get() >= kFirstFreeFd) return true;
  int moved = fcntl(static_cast<int>(fd.Get()), F_DUPFD_CLOEXEC, kFirstFreeFd);
  if (moved < 0) return false;
  fd.Reset(moved);
  return true;
}

// A close-on-exec pipe whose ends lie above the standard descriptors.
bool MakeHighPipe(UniqueHandle& readEnd, UniqueHandle& writeEnd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd.Reset(fds[0]);
  writeEnd.Reset(fds[1]);
  return MoveHigh(readEnd) && MoveHigh(writeEnd);
}

// Runs in the forked child. Any failure is sent to the parent as errno.
[[noreturn]] void RunChild(ExecPlan& plan, int stdinFd, int stdoutFd, int stderrFd, int errorFd) {
  setpgid(0, 0);  // the GUI's interrupt must not reach the engine
#ifdef __linux__
  // The engine ends with the adapter, also when the adapter is killed.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != plan.parent) _exit(127);
#endif
  int error = 0;
  if (dup2(stdinFd, STDIN_FILENO) < 0 || dup2(stdoutFd, STDOUT_FILENO) < 0 ||
      dup2(stderrFd, STDERR_FILENO) < 0) {
    error = errno;
  } else if (!plan.directory.empty() && chdir(plan.directory.c_str()) != 0) {
    error = errno;
  } else {
    setpriority(PRIO_PROCESS, 0, plan.nice);  // a refused raise is not an error
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &defaultAction, nullptr);  // undo the adapter's ignored SIGPIPE
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigprocmask(SIG_SETMASK, &noSignals, nullptr);
    execv(plan.file.c_str(), plan.argv.data());
    error = errno;
    if (error == ENOEXEC) {
      execv(plan.shell.c_str(), plan.shellArgv.data());
      error = errno;
    }
  }
  [[maybe_unused]] ssize_t ignored = write(errorFd, &error, sizeof error);
  _exit(127);
}

// Linux sends the death signal when the thread that forked the child ends,
// not the process; children are therefore forked on a thread that lives as
// long as the process.
struct ForkRequest {
  ExecPlan* plan;
  int stdinFd, stdoutFd, stderrFd, errorFd;
  pid_t pid = -1;
  bool done = false;
};
// Never destroyed: the forking thread waits on it until the process ends.
struct ForkThread {
  std::mutex mutex;
  std::condition_variable changed;
  ForkRequest* pending = nullptr;
};

void ForkLoop(ForkThread& f) {
  std::unique_lock lock(f.mutex);
  while (true) {
    f.changed.wait(lock, [&] { return f.pending != nullptr; });
    ForkRequest& r = *f.pending;
    r.pid = fork();
    if (r.pid == 0) RunChild(*r.plan, r.stdinFd, r.stdoutFd, r.stderrFd, r.errorFd);
    r.done = true;
    f.pending = nullptr;
    f.changed.notify_all();
  }
}

pid_t ForkChild(ExecPlan& plan, int stdinFd, int stdoutFd, int stderrFd, int errorFd) {
  static ForkThread* const forker = []() -> ForkThread* {
    auto* f = new ForkThread;
    try {
      std::thread(ForkLoop, std::ref(*f)).detach();
      return f;
    } catch (const std::system_error&) {
      delete f;
      return nullptr;
    }
  }();
  if (forker == nullptr) return -1;
  ForkRequest request{&plan, stdinFd, stdoutFd, stderrFd, errorFd};
  std::unique_lock lock(forker->mutex);
  forker->changed.wait(lock, [&] { return forker->pending == nullptr; });
  forker->pending = &request;
  forker->changed.notify_all();
  forker->changed.wait(lock, [&] { return request.done; });
  return request.pid;
}

}  // namespace

// Waits for the child on a thread of its own, so that no SIGCHLD handler is
// needed (which would take exit statuses from other code in the process).
// The child is first waited for without being reaped and reaped under the
// mutex: while `exited` is false its pid cannot belong to another process,
// so kill() and setpriority() under the mutex always reach our child.
struct ChildProcess::ExitWatch {
  explicit ExitWatch(pid_t childPid) : pid(childPid) {}

  const pid_t pid;
  std::mutex mutex;
  std::condition_variable exitedCv;
  bool exited = false;
  int status = 0;  // waitpid's, once exited

  std::optional<int> WaitStatus(int ms) {
    std::unique_lock<std::mutex> lock(mutex);
    if (!exitedCv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return exited; })) {
      return {};
    }
    return status;
  }

  static void Run(std::shared_ptr<ExitWatch> watch) {
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(watch->pid), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
    std::lock_guard<std::mutex> lock(watch->mutex);
    while (waitpid(watch->pid, &watch->status, 0) < 0 && errno == EINTR) {
    }
    watch->exited = true;
    watch->exitedCv.notify_all();
  }
};

int ChildProcess::Start(std::string_view commandLine) {
  Invocation run;
  std::optional<ProgramLocation> location = FindProgram(commandLine);
  if (location) run.directory = location->directory;
  if (location && location->executable) {
    run.program = location->file;
    run.args = SplitCommandLine(location->arguments);
  } else {
    run.args = SplitCommandLine(commandLine);
    if (!run.args.empty()) {
      run.program = std::move(run.args.front());
      run.args.erase(run.args.begin());
    }
  }
  return Start(run);
}

int ChildProcess::Start(const Invocation& run) {
  if (processId_ > 0) Close(false);
  ExecPlan plan;
  if (!MakePlan(run, plan)) return 0;
  plan.nice = NiceForPriority(priorityClass_, threadPriority_);

  UniqueHandle childInput, toChild, fromChild, childOutput, errorRead, errorWrite, errorFile;
  if (!MakeHighPipe(childInput, toChild) || !MakeHighPipe(fromChild, childOutput) ||
      !MakeHighPipe(errorRead, errorWrite)) {
    return 0;
  }
  if (!run.errorFile.empty()) {
    errorFile.Reset(open(run.errorFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    if (!errorFile.Valid() || !MoveHigh(errorFile)) return 0;
  }
  plan.parent = getpid();
  const int childStdout = static_cast<int>(childOutput.Get());
  pid_t pid = ForkChild(plan, static_cast<int>(childInput.Get()), childStdout,
                        errorFile.Valid() ? static_cast<int>(errorFile.Get()) : childStdout,
                        static_cast<int>(errorWrite.Get()));
  if (pid < 0) return 0;

  // Only the child may hold these, so that its exit ends our reads.
  childInput.Reset();
  childOutput.Reset();
  errorWrite.Reset();
  errorFile.Reset();
  int childError = 0;
  ssize_t got;
  do {
    got = read(static_cast<int>(errorRead.Get()), &childError, sizeof childError);
  } while (got < 0 && errno == EINTR);
  if (got != 0) {  // exec failed, or its outcome is unknown: no child for us
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return 0;
  }

  auto watch = std::make_shared<ExitWatch>(pid);
  try {
    std::thread(&ExitWatch::Run, watch).detach();
  } catch (const std::system_error&) {
    kill(pid, SIGKILL);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return 0;
  }
  processId_ = pid;
  stallMs_ = run.stallMs;
  exitWatch_ = std::move(watch);
  // Our end only: a stuck child must not block the writer for good.
  const int toChildFd = static_cast<int>(toChild.Get());
  fcntl(toChildFd, F_SETFL, fcntl(toChildFd, F_GETFL) | O_NONBLOCK);
  writeToChild_ = std::move(toChild);
  readFromChild_ = std::move(fromChild);
  return pid;
}

/* Ending the engine. The caller has sent its quit command already; closing
   the engine's input adds end-of-file, which engines also take as a request
   to end. The engine then gets kTerminateWaitMs (with terminateHard) or
   kQuitWaitMs to exit before SIGKILL goes to its whole process group
   (helpers it started die with it), and Close waits up to kKillWaitMs for it
   to be gone: no engine outlives the adapter. The exit watch reaps the
   process whenever it ends, so it never stays a zombie. */
void ChildProcess::Close(bool terminateHard) {
  writeToChild_.Reset();
  if (processId_ > 0 && exitWatch_) {
    std::unique_lock<std::mutex> lock(exitWatch_->mutex);
    auto exited = [this] { return exitWatch_->exited; };
    const int wait = terminateHard ? kTerminateWaitMs : kQuitWaitMs;
    if (!exitWatch_->exitedCv.wait_for(lock, std::chrono::milliseconds(wait), exited)) {
      kill(-processId_, SIGKILL);
      kill(processId_, SIGKILL);  // also when it has left its group
      exitWatch_->exitedCv.wait_for(lock, std::chrono::milliseconds(kKillWaitMs), exited);
    }
  }
  readFromChild_.Reset();
  exitWatch_.reset();
  processId_ = 0;
}

void ChildProcess::Kill() {
  if (processId_ <= 0 || !exitWatch_) return;
  std::lock_guard<std::mutex> lock(exitWatch_->mutex);
  if (exitWatch_->exited) return;
  kill(-processId_, SIGKILL);
  kill(processId_, SIGKILL);
}

std::optional<std::string> ChildProcess::EndDescription(int ms) {
  std::optional<int> waited = exitWatch_ ? exitWatch_->WaitStatus(ms) : std::nullopt;
  if (!waited) return {};
  const int status = *waited;
  if (WIFSIGNALED(status)) {
    const char* name = sigdescr_np(WTERMSIG(status));
    return "killed by signal " + std::to_string(WTERMSIG(status)) +
           (name != nullptr ? " (" + std::string(name) + ")" : "");
  }
  return "exited with status " + std::to_string(WEXITSTATUS(status));
}

std::optional<int> ChildProcess::ExitStatus(int ms) {
  std::optional<int> waited = exitWatch_ ? exitWatch_->WaitStatus(ms) : std::nullopt;
  if (!waited) return {};
  const int status = *waited;
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// Both values map to one nice value, given to every thread of the child, as
// its threads would otherwise keep the value they inherited.
void ChildProcess::ApplyPriority() {
  if (processId_ <= 0 || !exitWatch_) return;
  std::lock_guard<std::mutex> lock(exitWatch_->mutex);
  if (exitWatch_->exited) return;
  SetProcessNice(processId_, NiceForPriority(priorityClass_, threadPriority_));
}

}  // namespace vantro
