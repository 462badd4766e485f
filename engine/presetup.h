#pragma once

#include <string_view>

namespace vantro {

struct Adapter;

// Sends the commands of the pre-setup file "<name>.txt" (one per line;
// blank lines and ";" comments skipped) to the engine, or queues them until
// it runs.
void ReadPreSetup(Adapter& adapter, std::string_view name);

}  // namespace vantro
