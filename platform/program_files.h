#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the search for an engine's program asks of the file system.
namespace vantro::program_files {

// The characters that end a directory in a path.
extern const std::string_view kSeparators;

// `name` made absolute against the current directory; nothing on failure.
std::optional<std::string> Absolute(std::string_view name);
bool IsExistingNonDirectory(const std::string& name);
// On Windows the system decides that only when it starts the file.
bool IsStartable(const std::string& name);

}  // namespace vantro::program_files
