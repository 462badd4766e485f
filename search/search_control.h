#pragma once

#include <string_view>

namespace vantro {

struct SearchRecords;

// The UCI search commands, on the GUI thread.

// "go": brings the engine to the GUI's game and starts its search under the
// GUI's limits. `fromPonderHit` marks the go that a "ponderhit" composes.
void HandleGo(SearchRecords& records, std::string_view line, bool fromPonderHit);
// "ponderhit": the predicted move was played; the engine searches on.
void HandlePonderHit(SearchRecords& records);
// "stop": the engine is told to move now ("?", or "exit" in analysis); a
// legal move of the adapter's own ends the search when none comes in time.
void HandleStop(SearchRecords& records);

}  // namespace vantro
