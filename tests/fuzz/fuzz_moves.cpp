// Move texts against a board: line 1 is a FEN, every later word a move text.
// A parsed move is legal and its text in every style reads back to it; a
// decoded coordinate move, legal or not, leaves a board that round-trips as
// FEN and unmakes.
#include "base/text.h"
#include "chess/board.h"
#include "chess/move_text.h"
#include "fuzz/fuzz_check.h"

using namespace vantro;
using fuzz::Require;

namespace {

void CheckUnchecked(Board& board, std::string_view text) {
  MoveInfo move;
  if (!DecodeCoordMove(board, move, text)) return;
  Board before = board;
  if (!board.MakeMove(move, false)) return;
  Board again;
  again.SetFEN(board.ToFEN());
  Require(again.Compare(board) == 0, "FEN round trip after any decoded move");
  board.UnmakeMove(move);
  Require(board.Compare(before) == 0, "unmake restores the board");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view text = fuzz::AsText(data, size);
  std::size_t eol = text.find('\n');
  if (eol == std::string_view::npos) return 0;
  Board board;
  board.SetFEN(text.substr(0, eol));
  for (std::string_view word : SplitWords(text.substr(eol + 1))) {
    CheckUnchecked(board, word);
    MoveInfo move = ParseMove(board, word);
    Require((move.status == kParseRead) != move.Empty(),
            "the status tells whether a move was read");
    if (move.Empty()) {
      Require(MoveToText(board, move, MoveTextStyle::kSan).empty(), "no move is written as text");
      continue;
    }
    for (auto style : {MoveTextStyle::kSanEp, MoveTextStyle::kSan, MoveTextStyle::kLong,
                       MoveTextStyle::kCoord}) {
      std::string written = MoveToText(board, move, style);
      Require(ParseMove(board, written).SameMove(move), "a written move reads back");
    }
    Require(board.MakeMove(move, true), "a parsed move is legal");
  }
  return 0;
}
