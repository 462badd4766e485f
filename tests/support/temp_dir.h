#pragma once

#include <string>
#include <string_view>

namespace vantro::test {

// A fresh directory under /tmp, removed with everything in it when the
// object goes (kept when the environment variable VANTRO_KEEP_TEST_DIRS is
// set, for looking at logs after a failure).
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // The full path of `name` inside the directory.
  std::string File(std::string_view name) const;
  // Writes `text` to `name` (replacing it) and returns the full path.
  std::string Write(std::string_view name, std::string_view text) const;
  // The whole file, or empty when it cannot be read.
  std::string Read(std::string_view name) const;

 private:
  std::string path_;
};

// The whole file, or empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace vantro::test
