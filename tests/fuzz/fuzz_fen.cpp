// FEN reading: whatever the text, the board written back reads to itself,
// and every legal move on it makes, round-trips as FEN and unmakes exactly.
#include "chess/board.h"
#include "chess/move_generator.h"
#include "fuzz/fuzz_check.h"

using namespace vantro;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  Board board;
  board.SetFEN(fuzz::AsText(data, size));
  std::string fen = board.ToFEN();
  Board again;
  again.SetFEN(fen);
  Require(again.Compare(board) == 0 && again.ToFEN() == fen, "FEN round trip");

  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  for (int i = 0; i < legal.count; ++i) {
    Board before = board;
    MoveInfo move = legal.moves[i];
    Require(board.MakeMove(move, true), "a generated legal move is refused");
    again.SetFEN(board.ToFEN());
    Require(again.Compare(board) == 0, "FEN round trip after a legal move");
    board.UnmakeMove(move);
    Require(board.Compare(before) == 0, "unmake restores the board");
  }
  return 0;
}
