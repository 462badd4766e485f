#pragma once

#include <string_view>

#include "chess/game_record.h"

namespace vantro {

struct SearchRecords;

// Records a UCI "position" line as the GUI game; nothing is sent until the
// next "go". GUI thread.
void HandlePosition(SearchRecords& records, std::string_view line);

// The reading itself: start position (startpos or a FEN of up to four
// fields) and the moves that decode on the position reached so far.
void ReadPositionCommand(std::string_view line, GameRecord& game);

}  // namespace vantro
