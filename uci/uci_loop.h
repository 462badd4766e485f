#pragma once

#include <string_view>

namespace vantro {

struct Adapter;

// Handles one line from the GUI: trims and logs it, then dispatches the UCI
// command. GUI reader thread. False ends the reading (the engine could not be
// started).
bool OnGuiLine(Adapter& adapter, std::string_view line);

}  // namespace vantro
