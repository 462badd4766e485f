#pragma once

#include <string>
#include <string_view>

#include "base/log.h"
#include "engine/engine_link.h"
#include "settings/engine_options.h"

namespace vantro {

// Delivers an engine command: sent to a running engine, queued otherwise.
void DeliverEngineCommand(EngineLink& engine, std::string command);

// Sends the commands of the pre-setup file "<name>.txt" (one per line;
// blank lines and ";" comments skipped) to the engine, or queues them until
// it runs.
void ReadPreSetup(EngineLink& engine, Logger& log, std::string_view name);

// Turns the value of an engine-specific option into its engine command and
// sends it, or queues it until the engine runs.
void SetEngineOption(EngineLink& engine, Logger& log, const EngineOptionList& options,
                     const std::string& name, const std::string& value);

// Declares the options the engine announced since the last call (and, with
// smp=1, a cores option until one is declared), as far as their names are
// free; the others are logged. GUI thread, the engine running.
void AdoptEngineOwnOptions(EngineLink& engine, Logger& log, EngineOptionList& options);

}  // namespace vantro
