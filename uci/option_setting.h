#pragma once

#include <string>
#include <string_view>

namespace vantro {

struct Adapter;

// Sends the "option" lines of the adapter's settings and the declared
// engine-specific options, as far as they are visible.
void AnnounceOptions(Adapter& adapter);

// Turns the value of an engine-specific option into its engine command and
// sends it, or queues it until the engine runs.
void SetEngineOption(Adapter& adapter, const std::string& name, const std::string& value);

// Delivers an engine command: sent to a running engine, queued otherwise.
void DeliverEngineCommand(Adapter& adapter, std::string command);

}  // namespace vantro
