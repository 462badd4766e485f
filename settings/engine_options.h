#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantro {

enum class EngineOptionType : int { kSpin = 1, kButton = 2, kCheck = 3, kCombo = 4, kString = 5 };

// An engine-specific option declared in the definition file's [EXTRAS].
struct EngineOption {
  std::string name;
  std::string command;  // template, escapes decoded, holds its conversion
  std::string defaultText;
  std::string extra1;  // spin: min; check: off text; combo: items joined by '|'
  std::string extra2;  // spin: max; check: on text
  EngineOptionType type = EngineOptionType::kString;
};

using EngineOptionList = std::vector<EngineOption>;

// Parses "command|type|..." and appends the option; invalid declarations are
// dropped silently.
void DeclareEngineOption(EngineOptionList& options, std::string_view key,
                         std::string_view declaration);

// What setting an engine-specific option must deliver to the engine.
struct EngineOptionCommand {
  enum class Kind { kNothing, kSend, kReadFile };
  Kind kind = Kind::kNothing;
  std::string text;  // the command (kSend) or the pre-setup file's base name (kReadFile)
};

// Builds the command for "setoption name <name> value <value>" of an
// engine-specific option. The template is filled by hand, never handed to a
// printf-style function: only its one conversion is replaced and "%%" gives
// "%", so a stray "%s" or "%n" in a definition file is copied literally.
EngineOptionCommand BuildEngineOptionCommand(const EngineOptionList& options, std::string_view name,
                                             std::string_view value);

// Fills the first "%i" (or "%d") of `format` with `value`; "%%" becomes "%";
// every other byte is copied. Shared by the hash command.
std::string FormatInt(std::string_view format, long long value);
// The same for the first "%s".
std::string FormatString(std::string_view format, std::string_view value);
// `command` with " %i" appended unless it already holds "%i" or "%d".
std::string WithIntConversion(std::string command);

}  // namespace vantro
