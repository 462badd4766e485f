#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/child_process.h"
#include "platform/program_files.h"

namespace vantro {

namespace program_files {

const std::string_view kSeparators = "/";

std::optional<std::string> Absolute(std::string_view name) {
  if (!name.empty() && name.front() == '/') return std::string(name);
  std::error_code error;
  std::string directory = std::filesystem::current_path(error).string();
  if (error || directory.empty()) return std::nullopt;
  if (directory.back() != '/') directory += '/';
  return directory.append(name);
}

bool IsExistingNonDirectory(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsStartable(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(name.c_str(), X_OK) == 0;
}

}  // namespace program_files

namespace {

constexpr const char* kDefaultPath = "/bin:/usr/bin";

}  // namespace

// The child may start in another directory, so relative names are made
// absolute here.
std::optional<std::string> FindOnPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string_view::npos) return program_files::Absolute(name);
  const char* pathVariable = std::getenv("PATH");
  std::string_view path = pathVariable ? pathVariable : kDefaultPath;
  for (;;) {
    std::size_t colon = path.find(':');
    std::string_view entry = path.substr(0, colon);
    std::string candidate = entry.empty() ? "." : std::string(entry);
    candidate += '/';
    candidate += name;
    if (program_files::IsStartable(candidate)) return program_files::Absolute(candidate);
    if (colon == std::string_view::npos) return std::nullopt;
    path.remove_prefix(colon + 1);
  }
}

}  // namespace vantro
