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

void PipedProcess::Spawn(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& stderrPath) {
  UniqueHandle inputRead, outputWrite;
  std::vector<std::string> words{program_};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  if (!MakePipe(inputRead, input_) || !MakePipe(output_, outputWrite) ||
      !MakePipe(wakeRead_, wakeWrite_)) {
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, static_cast<int>(inputRead.Get()), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, static_cast<int>(outputWrite.Get()), STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error == 0) pid_ = pid;
  if (error != 0) Note("cannot start " + program_ + " in " + workDir + ": " + strerror(error));
}

int PipedProcess::WaitForExit() {
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

void PipedProcess::Kill() {
  ::kill(-pid_, SIGKILL);
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
