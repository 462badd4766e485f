#include <windows.h>

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "platform/child_process.h"

namespace vantro {

namespace {

constexpr std::string_view kExeSuffix = ".exe";

bool IsExistingNonDirectory(const std::string& name) {
  DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool EndsWithExe(std::string_view name) {
  if (name.size() < kExeSuffix.size()) return false;
  std::string_view tail = name.substr(name.size() - kExeSuffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != kExeSuffix[i]) return false;
  }
  return true;
}

std::optional<std::string> FullPath(const std::string& name) {
  DWORD size = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::nullopt;
  std::string path(size, '\0');
  DWORD length = GetFullPathNameA(name.c_str(), size, path.data(), nullptr);
  if (length == 0 || length >= size) return std::nullopt;
  path.resize(length);
  return path;
}

}  // namespace

// Words are cut from the command line only, never from the directory that
// makes a relative name absolute, so blanks in that directory are harmless.
std::optional<ProgramLocation> FindProgram(std::string_view commandLine) {
  if (commandLine.empty()) return std::nullopt;
  std::string line(commandLine);
  std::size_t end = line.size();
  for (;;) {
    std::optional<std::string> name = FullPath(line.substr(0, end));
    if (name) {
      std::optional<std::string> file;
      if (IsExistingNonDirectory(*name)) {
        file = *name;
      } else if (!EndsWithExe(*name) && IsExistingNonDirectory(*name + std::string(kExeSuffix))) {
        file = *name + std::string(kExeSuffix);
      }
      if (file) {
        ProgramLocation location;
        location.directory = file->substr(0, file->find_last_of("\\/") + 1);
        location.arguments = line.substr(end);
        location.executable = true;  // the system decides when it starts the file
        location.file = std::move(*file);
        return location;
      }
    }
    std::size_t wordStart = end;
    while (wordStart > 0 && static_cast<unsigned char>(line[wordStart - 1]) > ' ') --wordStart;
    if (wordStart == 0) return std::nullopt;
    end = wordStart - 1;  // the blank goes with the word
  }
}

std::optional<std::string> FindProgramDirectory(std::string_view commandLine) {
  std::optional<ProgramLocation> location = FindProgram(commandLine);
  if (!location) return std::nullopt;
  return location->directory;
}

// The system's own search for programs: the adapter's directory, the current
// directory, the system directories, then PATH; ".exe" is added if missing.
std::optional<std::string> FindOnPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string wanted(name);
  char found[MAX_PATH + 1];
  DWORD length = SearchPathA(nullptr, wanted.c_str(), ".exe", sizeof found, found, nullptr);
  if (length == 0 || length >= sizeof found || !IsExistingNonDirectory(found)) return std::nullopt;
  return std::string(found, length);
}

}  // namespace vantro
