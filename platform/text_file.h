#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"

namespace vantro {

// The one file class: reads lines (LF or CR LF ends, CR dropped anywhere, last
// line without an end still counts) and writes lines with CR LF ends. A file
// opened for appending is created if missing and never truncated; every write
// goes to its end. A line longer than kMaxLineBytes is skipped whole, so that
// a file without line ends (a device, say) cannot exhaust memory.
class TextFile {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

  enum class Access { kRead, kWrite };
  enum class Disposition { kOpenExisting, kOpenAlways };

  TextFile() = default;
  ~TextFile() = default;

  // The name is taken as given (callers trim it); an empty name fails without
  // touching the file system. Write access always includes read access.
  bool Open(std::string_view name, Access access, bool append, Disposition disposition);
  bool OpenForReading(std::string_view name) {
    return Open(name, Access::kRead, false, Disposition::kOpenExisting);
  }
  bool OpenForAppending(std::string_view name) {
    return Open(name, Access::kWrite, true, Disposition::kOpenAlways);
  }
  void Close();
  bool IsOpen() const { return file_.Valid(); }
  const std::string& Name() const { return name_; }

  // False at the end of the file (and an empty `out`).
  bool ReadLine(std::string& out);
  // Writes at the object's position (at the end when appending).
  bool Write(std::string_view data);
  // Every CR LF in `text` becomes LF, then every LF becomes CR LF, and CR LF
  // is appended unless the text now ends with one; an empty text gives CR LF.
  bool WriteLine(std::string_view text);

 private:
  bool FillBuffer();
  // Up to `size` bytes from `position` (from the current place where the
  // file cannot seek); 0 at the end or on a failure.
  static std::size_t ReadAt(NativeHandle file, std::uint64_t position, char* into,
                            std::size_t size);

  UniqueHandle file_;
  bool append_ = false;
  std::string name_;
  std::uint64_t position_ = 0;
  std::string buffer_;
  std::size_t bufferPos_ = 0;
};

// The bytes WriteLine() writes for `text`; shared with the log's formatting.
std::string ToCrLfLine(std::string_view text);

}  // namespace vantro
