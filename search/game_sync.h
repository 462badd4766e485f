#pragma once

#include <functional>
#include <mutex>

#include "chess/board.h"
#include "search/go_request.h"

namespace vantro {

struct SearchRecords;

// Bringing the engine to the GUI's game at a "go" (search mutex held).

struct SyncCounts {
  int newCount = 0;  // moves of the GUI game
  int oldCount = 0;  // moves of the engine game kept after the comparison
  bool forceSent = false;
};

// Compares the GUI game with the engine game: keeps the engine game when the
// GUI game only adds moves (or, for an infinite go with UseUndo, takes moves
// back with "undo"), and empties it otherwise.
SyncCounts CompareGames(SearchRecords& records, const GoRequest& go);

// The full set-up of a new game: stop the engine, "new", post and ponder
// modes, "force" when black is to move, "computer", the start position.
// `lock` holds the search mutex; the wait for the engine to stop releases it.
void FullSetUp(SearchRecords& records, std::unique_lock<std::mutex>& lock, SyncCounts& counts,
               bool whiteToMove);

// From "new" on: post and ponder modes, "force" when black is to move,
// "computer", and `start` as the engine game's start.
void SendNewGame(SearchRecords& records, SyncCounts& counts, bool whiteToMove, const Board& start);

// The clock and limit commands that precede the line starting a search.
void SendClockAndLimits(SearchRecords& records, const GoRequest& go);

// Sends the moves the engine has not seen. Exactly one new move is sent
// without "force" and starts the engine's search: `beforeStart` runs just
// before that move is written, after its clock commands.
void SendNewMoves(SearchRecords& records, const GoRequest& go, SyncCounts& counts,
                  const std::function<void()>& beforeStart);

}  // namespace vantro
