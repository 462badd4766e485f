#include <windows.h>

#include <string>

#include "platform/text_file.h"

namespace vantro {

namespace {

HANDLE Native(const UniqueHandle& file) {
  return reinterpret_cast<HANDLE>(file.Get());
}

bool Seek(HANDLE file, std::uint64_t offset, DWORD from, std::uint64_t* result) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  LARGE_INTEGER now;
  if (!SetFilePointerEx(file, distance, &now, from)) return false;
  if (result) *result = static_cast<std::uint64_t>(now.QuadPart);
  return true;
}

}  // namespace

// Others may read the file while it is open (the log, say) but not write it.
bool TextFile::Open(std::string_view name, Access access, bool append, Disposition disposition) {
  Close();
  name_ = std::string(name);
  if (name_.empty()) return false;
  DWORD rights = access == Access::kWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  DWORD creation = disposition == Disposition::kOpenAlways ? OPEN_ALWAYS : OPEN_EXISTING;
  HANDLE handle = CreateFileA(name_.c_str(), rights, FILE_SHARE_READ, nullptr, creation,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;  // also for a directory
  UniqueHandle file(reinterpret_cast<NativeHandle>(handle));
  if (append && !Seek(handle, 0, FILE_END, &position_)) return false;
  file_ = std::move(file);
  append_ = append;
  return true;
}

std::size_t TextFile::ReadAt(NativeHandle file, std::uint64_t position, char* into,
                             std::size_t size) {
  HANDLE handle = reinterpret_cast<HANDLE>(file);
  Seek(handle, position, FILE_BEGIN, nullptr);  // fails only for a device: read on
  DWORD got = 0;
  DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  if (!ReadFile(handle, into, chunk, &got, nullptr)) return 0;
  return got;
}

bool TextFile::Write(std::string_view data) {
  if (!file_.Valid()) return false;
  buffer_.clear();  // what was read ahead may be overwritten
  bufferPos_ = 0;
  if (append_ ? !Seek(Native(file_), 0, FILE_END, &position_)
              : !Seek(Native(file_), position_, FILE_BEGIN, nullptr)) {
    return false;
  }
  while (!data.empty()) {
    DWORD written = 0;
    DWORD chunk = data.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(data.size());
    if (!WriteFile(Native(file_), data.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    data.remove_prefix(written);
    position_ += written;
  }
  return true;
}

}  // namespace vantro
