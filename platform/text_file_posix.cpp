#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/text_file.h"

namespace vantro {

namespace {

constexpr mode_t kNewFileMode = 0644;

}  // namespace

bool TextFile::Open(std::string_view name, Access access, bool append, Disposition disposition) {
  Close();
  name_ = std::string(name);
  if (name_.empty()) return false;
  int flags = O_CLOEXEC | (access == Access::kWrite ? O_RDWR : O_RDONLY);
  if (disposition == Disposition::kOpenAlways) flags |= O_CREAT;
  // O_APPEND makes every write land at the end, even when another process
  // writes the same file, and never truncates.
  if (append) flags |= O_APPEND;
  int fd = ::open(name_.c_str(), flags, kNewFileMode);
  if (fd < 0) return false;
  UniqueHandle file(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (append) {
    off_t end = lseek(fd, 0, SEEK_END);
    if (end >= 0) position_ = static_cast<std::uint64_t>(end);
  }
  file_ = std::move(file);
  append_ = append;
  return true;
}

std::size_t TextFile::ReadAt(NativeHandle file, std::uint64_t position, char* into,
                             std::size_t size) {
  const int fd = static_cast<int>(file);
  ssize_t got;
  do {
    got = pread(fd, into, size, static_cast<off_t>(position));
    if (got < 0 && errno == ESPIPE) got = ::read(fd, into, size);
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool TextFile::Write(std::string_view data) {
  if (!file_.Valid()) return false;
  const int fd = static_cast<int>(file_.Get());
  buffer_.clear();  // what was read ahead may be overwritten
  bufferPos_ = 0;
  while (!data.empty()) {
    ssize_t written = append_ ? ::write(fd, data.data(), data.size())
                              : pwrite(fd, data.data(), data.size(), static_cast<off_t>(position_));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
    position_ += static_cast<std::uint64_t>(written);
  }
  if (append_) {
    off_t now = lseek(fd, 0, SEEK_CUR);
    if (now >= 0) position_ = static_cast<std::uint64_t>(now);
  }
  return true;
}

}  // namespace vantro
