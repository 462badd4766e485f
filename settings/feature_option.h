#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/engine_options.h"

namespace vantro {

// An option that an engine announces with feature option="NAME -TYPE ...",
// as an [EXTRAS] line: the option's name and its declaration, whose command
// is the xboard "option NAME=VALUE" (a button's "option NAME").
struct FeatureOption {
  std::string name;
  std::string declaration;
};

// Reads the text between the quotes. Spin and slider become spin; check gets
// the default true or false and the texts 0 and 1; string, file and path
// become string; combo keeps its items, the one marked "*" as the default
// (else the first); button, save and reset become button. Nothing for another
// type, or for a name or value that an [EXTRAS] line cannot hold.
std::optional<FeatureOption> ReadFeatureOption(std::string_view text);

// The options an engine announced, as [EXTRAS] lines, in order, with a
// "Threads" option for its "cores" command when it has smp=1. Left out, each
// with a note: options that cannot be read, names that are setting keys (a
// "setoption" with them sets the setting), names already `declared`, and
// repeated names.
inline constexpr std::string_view kCoresOptionName = "Threads";
struct OwnOptions {
  std::vector<FeatureOption> usable;
  std::vector<std::string> notes;
};
OwnOptions CollectOwnOptions(const std::vector<std::string>& announced, bool smp, unsigned cores,
                             const EngineOptionList& declared);

}  // namespace vantro
