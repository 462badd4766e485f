#pragma once

#include <string_view>

#include "chess/board.h"

namespace vantro::fake {

// xboard's edit mode: between "edit" and "." the engine receives piece lines
// ("Ke1", "Pa2"; "xe4" empties a square), "#" (empty board), "c" (switch the
// colour of the following pieces; white first) and the extension lines
// "+w00" "-w00" "+w000" "-w000" "+b00" "-b00" "+b000" "-b000" (castling
// rights) and "ep <square>". On "." castling rights are those whose king and
// rook stand on their home squares, changed by the explicit lines; the side to
// move is the one from before "edit"; there is no en-passant square unless an
// "ep" line gave one.
class BoardEditor {
 public:
  explicit BoardEditor(const Board& board);

  // False when the line is none of the above (it then changes nothing).
  bool Apply(std::string_view line);
  Board Finish() const;

 private:
  Board board_;
  int sideToMove_;
  bool black_ = false;
  int castlingAdded_ = 0;
  int castlingRemoved_ = 0;
  int enPassant_ = kNoSquare;
};

// The 0x88 index of "e4", or kNoSquare.
int ParseSquare(std::string_view text);

}  // namespace vantro::fake
