#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/child_process.h"

namespace vantro {

namespace {

constexpr std::string_view kExeSuffix = ".exe";
constexpr const char* kDefaultPath = "/bin:/usr/bin";

bool IsExistingNonDirectory(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsExecutableFile(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(name.c_str(), X_OK) == 0;
}

bool EndsWithExe(std::string_view name) {
  if (name.size() < kExeSuffix.size()) return false;
  std::string_view tail = name.substr(name.size() - kExeSuffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != kExeSuffix[i]) return false;
  }
  return true;
}

// The current directory with a trailing '/', or nothing.
std::optional<std::string> CurrentDirectory() {
  std::error_code error;
  std::string directory = std::filesystem::current_path(error).string();
  if (error || directory.empty()) return std::nullopt;
  if (directory.back() != '/') directory += '/';
  return directory;
}

}  // namespace

std::optional<ProgramLocation> FindProgram(std::string_view commandLine) {
  if (commandLine.empty()) return std::nullopt;
  std::string candidate;
  if (commandLine.front() != '/') {
    std::optional<std::string> current = CurrentDirectory();
    if (!current) return std::nullopt;
    candidate = *current;
  }
  // Words are cut from the command line only, never from the current
  // directory put in front of it, so a directory whose name has blanks
  // cannot yield a file outside it.
  const std::size_t start = candidate.size();
  candidate.append(commandLine);
  std::size_t end = candidate.size();
  for (;;) {
    if (end > start) {
      std::string name = candidate.substr(0, end);
      std::optional<std::string> file;
      if (IsExistingNonDirectory(name)) {
        file = name;
      } else if (!EndsWithExe(name) && IsExistingNonDirectory(name + std::string(kExeSuffix))) {
        file = name + std::string(kExeSuffix);
      }
      if (file) {
        ProgramLocation location;
        location.directory = file->substr(0, file->rfind('/') + 1);
        location.arguments = std::string(commandLine.substr(end - start));
        location.executable = IsExecutableFile(*file);
        location.file = std::move(*file);
        return location;
      }
    }
    std::size_t wordStart = end;
    while (wordStart > start && static_cast<unsigned char>(candidate[wordStart - 1]) > ' ') {
      --wordStart;
    }
    if (wordStart <= start) return std::nullopt;
    end = wordStart - 1;  // the blank goes with the word
  }
}

std::optional<std::string> FindProgramDirectory(std::string_view commandLine) {
  std::optional<ProgramLocation> location = FindProgram(commandLine);
  if (!location) return std::nullopt;
  return location->directory;
}

std::optional<std::string> FindOnPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  // The child may start in another directory, so relative names are made
  // absolute here.
  auto absolute = [](std::string path) -> std::optional<std::string> {
    if (path.front() == '/') return path;
    std::optional<std::string> current = CurrentDirectory();
    if (!current) return std::nullopt;
    return *current + path;
  };
  if (name.find('/') != std::string_view::npos) return absolute(std::string(name));
  const char* pathVariable = std::getenv("PATH");
  std::string_view path = pathVariable ? pathVariable : kDefaultPath;
  for (;;) {
    std::size_t colon = path.find(':');
    std::string_view entry = path.substr(0, colon);
    std::string candidate = entry.empty() ? "." : std::string(entry);
    candidate += '/';
    candidate += name;
    if (IsExecutableFile(candidate)) return absolute(std::move(candidate));
    if (colon == std::string_view::npos) return std::nullopt;
    path.remove_prefix(colon + 1);
  }
}

}  // namespace vantro
