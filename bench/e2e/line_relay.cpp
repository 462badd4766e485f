// line_relay <program> [args...]: runs the program on pipes and copies lines
// both ways, one copy thread per direction and one write per line: the least
// any adapter with a process of its own costs, the benchmark's floor.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Copies `from` to `to` line by line until `from` ends, then closes `to`.
void CopyLines(int from, int to) {
  std::vector<char> line;
  char block[4096];
  ssize_t got;
  bool open = true;
  while (open && ((got = ::read(from, block, sizeof block)) > 0 || (got < 0 && errno == EINTR))) {
    for (ssize_t i = 0; i < got && open; ++i) {
      line.push_back(block[i]);
      if (block[i] == '\n') {
        open = WriteAll(to, line.data(), line.size());
        line.clear();
      }
    }
  }
  close(to);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return 1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  pid_t pid;
  if (posix_spawn(&pid, argv[1], &actions, nullptr, argv + 1, environ) != 0) return 1;
  close(in[0]);
  close(out[1]);
  std::thread toEngine(CopyLines, 0, in[1]);
  std::thread toGui(CopyLines, out[0], 1);
  toGui.join();  // the program has ended its output
  waitpid(pid, nullptr, 0);
  toEngine.detach();
  return 0;
}
