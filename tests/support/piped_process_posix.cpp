#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/piped_process.h"

namespace vantro::test {
namespace {

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

PipedProcess::PipedProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workDir)
    : program_(program), start_(std::chrono::steady_clock::now()) {
  const std::string stderrPath = workDir + "/stderr.txt";
  ShowOnFailure(stderrPath);
  // A program that has gone must show as a failed Send, not end the test run.
  ::signal(SIGPIPE, SIG_IGN);
  UniqueHandle inputRead, outputWrite;
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  if (MakePipe(inputRead, input_) && MakePipe(output_, outputWrite) &&
      MakePipe(wakeRead_, wakeWrite_)) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, static_cast<int>(inputRead.Get()), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, static_cast<int>(outputWrite.Get()), STDOUT_FILENO);
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
    WriteAll(static_cast<int>(wakeWrite_.Get()), "x");
    reader_.join();
  }
  if (::testing::Test::HasFailure()) PrintDiagnostics();
}

bool PipedProcess::Send(std::string_view line) {
  {
    std::lock_guard lock(mutex_);
    Note("> " + std::string(line));
  }
  return input_.Valid() && WriteAll(static_cast<int>(input_.Get()), std::string(line) + "\n");
}

void PipedProcess::CloseInput() {
  {
    std::lock_guard lock(mutex_);
    Note("> (end of input)");
  }
  input_ = UniqueHandle();
}

void PipedProcess::ReadLoop() {
  pollfd fds[2] = {{static_cast<int>(output_.Get()), POLLIN, 0},
                   {static_cast<int>(wakeRead_.Get()), POLLIN, 0}};
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

}  // namespace vantro::test
