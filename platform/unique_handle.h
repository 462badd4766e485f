#pragma once

#include <cstdint>
#include <utility>

namespace vantro {

// An operating-system handle to a pipe or file: a descriptor on POSIX, a
// HANDLE on Windows. Opaque outside the platform implementation files.
using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

// Owns one handle and closes it. Move-only.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(NativeHandle handle) { Reset(handle); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, kNoHandle));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  NativeHandle Get() const { return handle_; }
  bool Valid() const { return handle_ != kNoHandle; }
  NativeHandle Release() { return std::exchange(handle_, kNoHandle); }
  // A null handle (what some Win32 calls return on failure) is stored as none.
  void Reset(NativeHandle handle = kNoHandle);

 private:
  NativeHandle handle_ = kNoHandle;
};

// An anonymous pipe whose ends this process alone holds (close-on-exec,
// not inherited). False when the system refuses one.
bool MakePipe(UniqueHandle& readEnd, UniqueHandle& writeEnd);

}  // namespace vantro
