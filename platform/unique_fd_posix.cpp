#include "platform/unique_fd.h"

#include <unistd.h>

namespace vantro {

void UniqueFd::Reset(int fd) {
  // close() is not retried on EINTR: on Linux the descriptor is gone either way,
  // and a retry could close a descriptor another thread has just opened.
  if (fd_ >= 0 && fd_ != fd) ::close(fd_);
  fd_ = fd;
}

}  // namespace vantro
