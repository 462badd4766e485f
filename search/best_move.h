#pragma once

#include <string>

namespace vantro {

struct SearchRecords;

// All of these run with the search mutex held.

// Sends a "bestmove" line if the GUI is owed one, and clears the debt: every
// "go" gets exactly one, and none comes without a "go".
void SendBestMove(SearchRecords& records, const std::string& line);

// Ends a search without an engine move: a legal move of the adapter's own
// choosing (the last principal variation's first or second move when legal,
// else the first legal move; "0000" without one), and the state Idle.
void ForceBestMove(SearchRecords& records);

// The engine's view of the game can no longer be trusted (it ignored "?" or
// played a move the adapter could not read): the next search sets the engine
// up from scratch.
void ForgetEngineGame(SearchRecords& records);

}  // namespace vantro
