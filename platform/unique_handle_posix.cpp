#include "platform/unique_handle.h"

#include <fcntl.h>
#include <unistd.h>

namespace vantro {

void UniqueHandle::Reset(NativeHandle handle) {
  // close() is not retried on EINTR: on Linux the descriptor is gone either way,
  // and a retry could close a descriptor another thread has just opened.
  if (handle_ >= 0 && handle_ != handle) ::close(static_cast<int>(handle_));
  handle_ = handle < 0 ? kNoHandle : handle;
}

bool MakePipe(UniqueHandle& readEnd, UniqueHandle& writeEnd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd.Reset(fds[0]);
  writeEnd.Reset(fds[1]);
  return true;
}

}  // namespace vantro
