#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/child_process.h"
#include "platform/program_files.h"

namespace vantro {

namespace program_files {

const std::string_view kSeparators = "\\/";

std::optional<std::string> Absolute(std::string_view name) {
  std::string given(name);
  DWORD size = GetFullPathNameA(given.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::nullopt;
  std::string path(size, '\0');
  DWORD length = GetFullPathNameA(given.c_str(), size, path.data(), nullptr);
  if (length == 0 || length >= size) return std::nullopt;
  path.resize(length);
  return path;
}

bool IsExistingNonDirectory(const std::string& name) {
  DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsStartable(const std::string&) {
  return true;
}

}  // namespace program_files

// The system's own search for programs: the adapter's directory, the current
// directory, the system directories, then PATH; ".exe" is added if missing.
std::optional<std::string> FindOnPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string wanted(name);
  char found[MAX_PATH + 1];
  DWORD length = SearchPathA(nullptr, wanted.c_str(), ".exe", sizeof found, found, nullptr);
  if (length == 0 || length >= sizeof found || !program_files::IsExistingNonDirectory(found)) {
    return std::nullopt;
  }
  return std::string(found, length);
}

}  // namespace vantro
