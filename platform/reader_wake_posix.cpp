#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/reader_wake.h"

namespace vantro {

struct ReaderWake::State {
  // Both ends non-blocking: a wake never blocks, a drain never waits.
  UniqueHandle wakeRead;
  UniqueHandle wakeWrite;

  void Drain() const {
    char drain[64];
    while (::read(static_cast<int>(wakeRead.Get()), drain, sizeof drain) > 0) {
    }
  }
};

ReaderWake::ReaderWake() : state_(std::make_unique<State>()) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    state_->wakeRead.Reset(fds[0]);
    state_->wakeWrite.Reset(fds[1]);
  }
}

ReaderWake::~ReaderWake() = default;

bool ReaderWake::Usable() const {
  return state_->wakeRead.Valid();
}

void ReaderWake::Forget() {
  if (Usable()) state_->Drain();
}

void ReaderWake::Enter() {}

void ReaderWake::Leave() {}

void ReaderWake::Wake() {
  if (!state_->wakeWrite.Valid()) return;
  char byte = 0;
  [[maybe_unused]] ssize_t ignored = ::write(static_cast<int>(state_->wakeWrite.Get()), &byte, 1);
}

long ReaderWake::Read(NativeHandle input, char* block, std::size_t size) {
  const int fd = static_cast<int>(input);
  pollfd fds[2] = {{fd, POLLIN, 0}, {static_cast<int>(state_->wakeRead.Get()), POLLIN, 0}};
  if (poll(fds, 2, -1) < 0) return errno == EINTR ? kWoken : 0;
  if (fds[1].revents != 0) {
    state_->Drain();
    return kWoken;
  }
  if ((fds[0].revents & POLLNVAL) != 0) return 0;
  if (fds[0].revents == 0) return kWoken;
  ssize_t got = ::read(fd, block, size);
  if (got < 0) return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK ? kWoken : 0;
  return static_cast<long>(got);
}

}  // namespace vantro
