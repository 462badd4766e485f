#pragma once

#include <string_view>

#include "settings/engine_options.h"
#include "settings/settings.h"

namespace vantro {

// Reads an engine definition file: [ENGINE] identity and Visible lists,
// [OPTIONS] settings through ApplySetting, [EXTRAS] option declarations.
// False only when the file cannot be opened (or the trimmed name is empty).
bool ReadDefinitionFile(std::string_view fileName, Settings& settings, EngineOptionList& options,
                        SettingActions& actions);

// Splits a comma list, trims each name and appends the non-empty ones;
// restricts visibility even when nothing is added.
void AddVisibleOptions(Settings& settings, std::string_view list);

}  // namespace vantro
