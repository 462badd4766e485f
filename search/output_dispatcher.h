#pragma once

#include <string_view>

namespace vantro {

struct SearchRecords;

// Handles one line of the engine's output: its move becomes "bestmove",
// resignations and results are passed on, hints and features recorded, and
// thinking output becomes "info". Engine reader thread; always true.
bool OnEngineLine(SearchRecords& records, std::string_view line);

}  // namespace vantro
