#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "platform/child_process.h"
#include "platform/program_files.h"

namespace vantro {

namespace {

constexpr std::string_view kExeSuffix = ".exe";

bool EndsWithExe(std::string_view name) {
  if (name.size() < kExeSuffix.size()) return false;
  std::string_view tail = name.substr(name.size() - kExeSuffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != kExeSuffix[i]) return false;
  }
  return true;
}

// The file `name` stands for: itself, or itself with ".exe" added.
std::optional<std::string> ExistingFile(const std::string& name) {
  if (program_files::IsExistingNonDirectory(name)) return name;
  std::string withExe = name + std::string(kExeSuffix);
  if (!EndsWithExe(name) && program_files::IsExistingNonDirectory(withExe)) return withExe;
  return std::nullopt;
}

}  // namespace

// Words are cut from the command line only, never from the directory that
// makes a relative name absolute, so blanks in that directory are harmless.
std::optional<ProgramLocation> FindProgram(std::string_view commandLine) {
  if (commandLine.empty()) return std::nullopt;
  std::size_t end = commandLine.size();
  for (;;) {
    std::optional<std::string> name;
    if (end > 0) name = program_files::Absolute(commandLine.substr(0, end));
    std::optional<std::string> file = name ? ExistingFile(*name) : std::nullopt;
    if (file) {
      ProgramLocation location;
      location.directory = file->substr(0, file->find_last_of(program_files::kSeparators) + 1);
      location.arguments = std::string(commandLine.substr(end));
      location.executable = program_files::IsStartable(*file);
      location.file = std::move(*file);
      return location;
    }
    std::size_t wordStart = end;
    while (wordStart > 0 && static_cast<unsigned char>(commandLine[wordStart - 1]) > ' ') {
      --wordStart;
    }
    if (wordStart == 0) return std::nullopt;
    end = wordStart - 1;  // the blank goes with the word
  }
}

std::optional<std::string> FindProgramDirectory(std::string_view commandLine) {
  std::optional<ProgramLocation> location = FindProgram(commandLine);
  if (!location) return std::nullopt;
  return location->directory;
}

}  // namespace vantro
