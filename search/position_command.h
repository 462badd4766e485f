#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "chess/game_record.h"

namespace vantro {

struct SearchRecords;

// Records a UCI "position" line as the GUI game; nothing is sent until the
// next "go". GUI thread.
void HandlePosition(SearchRecords& records, std::string_view line);

// The reading itself: start position (startpos or a FEN of up to four
// fields) and the moves up to the first that is not a legal move in the
// position reached; that move's text is returned (empty when all are legal).
std::string_view ReadPositionCommand(std::string_view line, GameRecord& game);

// ReadPositionCommand for one game record, line after line. A GUI sends the
// whole game before every search; when a line is the last one with more moves
// after it, only those moves are read and made, which gives the same record
// as reading it whole. Any other line (a new start, a different or shorter
// move list) is read whole.
class PositionReader {
 public:
  // `game` is the record the last Read filled; when its move count has
  // changed since, the line is read whole.
  std::string_view Read(std::string_view line, GameRecord& game);

 private:
  bool Resumes(std::string_view line, const GameRecord& game) const;

  std::string line_;              // the last line read; empty: it had no move list
  Board board_;                   // the position after its moves
  std::size_t moves_ = 0;         // its move count
  std::size_t rejectedAt_ = 0;    // where its illegal move stands in it,
  std::size_t rejectedSize_ = 0;  // and how long it is (0: none)
};

}  // namespace vantro
