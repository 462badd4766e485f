#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/line_io.h"
#include "settings/engine_options.h"
#include "settings/settings.h"

namespace vantro {

// True when the definition file placed no restriction, or its Visible lists
// hold `name` exactly (letter case counts).
bool IsOptionVisible(const Settings& settings, std::string_view name);

// The "option ..." lines answering "uci", in order: the engine-specific
// options (visibility name "Extras") with their declared defaults, then the
// adapter's own options with their current values. Lines are never cut.
std::vector<std::string> OptionLines(const Settings& settings, const EngineOptionList& options,
                                     bool logFileOpen);
// Sends those lines to the GUI.
void AnnounceOptions(GuiWriter& gui, const Settings& settings, const EngineOptionList& options,
                     bool logFileOpen);

}  // namespace vantro
