#include "search/best_move.h"

#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "search/search_records.h"

namespace vantro {
namespace {

const MoveInfo* FindLegal(const MoveList& legal, const MoveInfo& wanted) {
  if (wanted.Empty()) return nullptr;
  for (int i = 0; i < legal.count; ++i) {
    if (legal.moves[i].SameMove(wanted)) return &legal.moves[i];
  }
  return nullptr;
}

}  // namespace

void SendBestMove(SearchRecords& a, const std::string& line) {
  if (!a.search.bestMoveOwed) {
    a.Log("No search to answer: " + line, kTagDispatcher);
    return;
  }
  a.search.bestMoveOwed = false;
  a.SendToGui(line);
}

void ForceBestMove(SearchRecords& a) {
  SearchContext& s = a.search;
  s.thinkingOutputEnabled = false;
  s.answeredForEngine = true;
  s.searchClock.Stop();
  Board board = s.guiGame.Replay();
  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  std::string text = "bestmove ";
  if (legal.count == 0) {
    text += "0000";  // the UCI null move: there is nothing legal to play
  } else if (const MoveInfo* m = FindLegal(legal, s.pvBestMove)) {
    text += MoveToCoord(*m);
  } else if (const MoveInfo* p = FindLegal(legal, s.pvPonderMove)) {
    text += MoveToCoord(*p);
  } else {
    text += MoveToCoord(legal.moves[0]);
  }
  SendBestMove(a, text);
  s.SetState(SearchState::kIdle);
}

void ForgetEngineGame(SearchRecords& a) {
  a.search.ClearEngineGame();
}

}  // namespace vantro
