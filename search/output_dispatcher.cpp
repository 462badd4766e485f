#include "search/output_dispatcher.h"

#include <chrono>
#include <string>

#include "base/text.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "engine/features.h"
#include "search/best_move.h"
#include "search/game_sync.h"
#include "search/search_records.h"
#include "search/thinking_output.h"

namespace vantro {
namespace {

constexpr auto kMoveAcceptWait = std::chrono::milliseconds(5 * 100);

void ReplayEngineGame(SearchContext& s) {
  s.engineBoard = s.EnginePosition();
}

void AcceptMove(SearchRecords& a, std::unique_lock<std::mutex>& lock, std::string_view text) {
  SearchContext& s = a.search;
  if (s.state != SearchState::kThinking && s.answeredForEngine) {
    a.Log("Move discarded, its search was answered already.", kTagDispatcher);
    return;
  }
  if (s.state != SearchState::kThinking) {
    // Covers an engine that answers before the GUI thread has recorded the
    // search; wakes the moment it does. The GUI's lines do not wait with it.
    a.gui.Release();
    if (!s.changed.wait_for(lock, kMoveAcceptWait,
                            [&] { return s.state == SearchState::kThinking; })) {
      a.Log("Move discarded, engine is not thinking.", kTagDispatcher);
      return;
    }
    a.Log("Move accepted after a delay.", kTagDispatcher);
  }
  s.SetState(SearchState::kIdle);
  s.statusPoll = StatusPoll::kOff;
  s.moveNowLag.Answered(s.searchNumber);
  if (s.engineResigned) {
    a.Log("Move discarded, engine allready resigned.", kTagDispatcher);
    return;
  }
  if (s.stopMove) {
    a.Log("Move discarded, stopMove=true.", kTagDispatcher);
    return;
  }
  if (s.lastScore == 0 && s.lastDepth == 1) a.SendToGui("info depth 1 score cp 1");
  s.searchClock.Stop();

  ReplayEngineGame(s);
  // The move the last variation began with, in the same game, was found
  // legal then, and so was its reply.
  bool pvStands = s.pvGameVersion == s.EngineGameVersion() && !s.pvBestMove.Empty();
  MoveInfo move = pvStands && text == s.pvBestText ? s.pvBestMove : ParseMove(s.engineBoard, text);
  std::string reply;
  if (!move.Empty()) {
    s.AppendEngineMove(move);
    reply = "bestmove " + MoveToCoord(move);
  } else {
    a.Log("illegal move", kTagFromEngine);
  }

  s.reportedPonderMove = MoveInfo{};
  s.ponderMoveConfirmed = false;
  if (!move.Empty() && move.SameMove(s.pvBestMove)) {
    MoveInfo played = move;
    s.engineBoard.MakeMove(played, false);  // ParseMove gives legal moves only
    MoveInfo ponder = s.pvPonderMove;
    if (!ponder.Empty() && s.engineBoard.MakeMove(ponder, !pvStands)) {
      reply += " ponder " + MoveToCoord(s.pvPonderMove);
      s.reportedPonderMove = s.pvPonderMove;
      s.ponderMoveConfirmed = true;
    }
  }

  if (!reply.empty()) {
    SendBestMove(a, reply);
  } else {
    // The GUI still waits for its move: answer with a legal one, and set the
    // engine up afresh next time, since its game went its own way.
    ForgetEngineGame(a);
    ForceBestMove(a);
  }
  s.ResetPvMoves(false);
  s.thinkingOutputEnabled = false;
  s.hintMove =
      (a.settings.simulateHint && s.ponderMoveConfirmed) ? s.reportedPonderMove : MoveInfo{};
}

bool LooksLikeMove(std::string_view word) {
  return !word.empty() &&
         word.find_first_not_of("abcdefgh12345678KQRBNOxqrbn=+#-") == std::string_view::npos &&
         word.find_first_of("12345678O") != std::string_view::npos;
}

// "Illegal move: e2e4", "Illegal move (reason): e2e4", or "Error (reason):
// command" for a command that builds the engine's game; errors about
// settings an engine lacks ("memory", "cores") change no position, nor does
// Phalanx's "Illegal move: sd 3" for a command it does not know.
bool IsPositionError(std::string_view line, std::string_view& command) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view rest = Trim(line.substr(colon + 1));
  if (line.starts_with("Illegal move")) {
    const bool usermove = GetWord(rest, 1) == "usermove";
    command = GetWord(rest, usermove ? 2 : 1);
    return GetWord(rest, usermove ? 3 : 2).empty() && LooksLikeMove(command);
  }
  if (!line.starts_with("Error") || line[colon - 1] != ')') return false;
  command = GetWord(rest, 1);
  static constexpr std::string_view kBuilders[] = {"setboard", "edit", "usermove", "undo",
                                                   "remove",   "new",  "force",    "go"};
  for (std::string_view builder : kBuilders) {
    if (command == builder) return true;
  }
  return LooksLikeMove(command);
}

// The engine's game is no longer the GUI's: it is set up afresh before its
// next search (with the other set-up style when the set-up itself was
// refused), and a search it runs now is not the GUI's.
void HandlePositionError(SearchRecords& a, std::string_view command) {
  SearchContext& s = a.search;
  a.Log("The engine's game differs from the GUI's; it is set up afresh next time.", kTagDispatcher);
  if (command == "setboard" || command == "edit") {
    a.settings.edit = command == "setboard" ? kEditEdit : kEditSetboard;
  }
  ForgetEngineGame(a);
  if (s.state != SearchState::kThinking) return;
  a.SendToEngine("force");  // its move would answer another position
  if (!s.setUpRetried && a.engine.pingFeature) {
    // Fairy-Max refuses the moves of a set-up sent right after an analysis;
    // the position alone, once its replies to this set-up are read, works.
    s.setUpRetried = true;
    s.thinkingOutputEnabled = false;
    s.retryPing = ++s.pingCount;
    a.SendToEngine("ping " + std::to_string(s.retryPing));
    return;
  }
  ForceBestMove(a);
}

// The engine has read everything up to the refused set-up's last reply: it
// gets the GUI's position without moves and searches it.
void RetrySetUp(SearchRecords& a) {
  SearchContext& s = a.search;
  s.retryPing = 0;
  a.Log("The position alone is set up once more.", kTagDispatcher);
  const Board position = s.guiGame.Replay();
  const bool whiteToMove = s.guiGame.WhiteToMoveAfter();
  SyncCounts counts;
  SendNewGame(a, counts, whiteToMove, position);
  SendClockAndLimits(a, s.lastGo);
  if (a.engine.colorsFeature) a.SendToEngine(whiteToMove ? "white" : "black");
  a.SendToEngine("go");
  s.engineForced = false;
  s.thinkingOutputEnabled = true;
}

void ReadHint(SearchRecords& a, std::string_view text) {
  SearchContext& s = a.search;
  ReplayEngineGame(s);
  s.hintMove = ParseMove(s.engineBoard, text);
  s.ponderMoveConfirmed = s.hintMove.SameMove(s.reportedPonderMove);
}

// A claim of mate, stalemate, repetition or the fifty-move rule that the
// engine's game does not bear out belongs to its last game: some engines
// print the result after their move and it can arrive once the next game's
// search has begun. A claim one move early (the move that completes the
// repetition or the fifty moves) still stands.
bool ClaimIsStale(SearchContext& s, std::string_view line) {
  if (line.find("repetition") != std::string_view::npos) {
    return s.engineGame.TimesLastPositionStood() < 2;
  }
  const std::string upper = ToUpper(line);
  if (upper.find("FIFTY") != std::string::npos || upper.find("50 MOVE") != std::string::npos ||
      upper.find("50-MOVE") != std::string::npos) {
    ReplayEngineGame(s);
    return s.engineBoard.halfmoveClock < kFiftyMovePlies - 1;
  }
  if (line.find("mate") == std::string_view::npos) return false;
  ReplayEngineGame(s);
  MoveList legal;
  MoveGenerator::GenerateLegal(s.engineBoard, legal);
  return legal.count > 0;
}

// A resignation or a decisive result ends the engine's game.
void EndEngineGame(SearchRecords& a, std::string_view line, const char* result) {
  SearchContext& s = a.search;
  s.statusPoll = StatusPoll::kOff;
  a.SendToGui("info string " + std::string(line));
  a.SendToEngine(result);
  s.hintMove = MoveInfo{};
  s.ResetPvMoves(true);
  s.reportedPonderMove = MoveInfo{};
  s.engineResigned = true;
  if (s.state == SearchState::kThinking) {
    ForceBestMove(a);
  } else {
    s.SetState(SearchState::kIdle);
  }
}

}  // namespace

bool OnEngineLine(SearchRecords& a, std::string_view raw) {
  std::string_view trimmed = Trim(raw);
  if (trimmed.empty()) return true;
  a.Log(trimmed, kTagFromEngine);

  std::string_view line = trimmed;
  std::string rewritten;
  // The old form "12. ... Nf3" is a move.
  if (((line[0] >= '0' && line[0] <= '9') || line[0] == '.') && GetWord(line, 2) == "...") {
    rewritten = "move " + std::string(GetWord(line, 3));
    line = rewritten;
  }
  std::string_view keyword = GetWord(line, 1);

  std::unique_lock lock(a.search.mutex);
  SearchContext& s = a.search;
  if (s.retryPing != 0) {
    // Replies to the refused set-up, up to the engine's "pong".
    if (keyword == "pong" && GetWord(line, 2) == std::to_string(s.retryPing)) {
      if (s.state == SearchState::kThinking) {
        RetrySetUp(a);
      } else {
        s.retryPing = 0;
      }
    }
    return true;
  }
  if (keyword == "move") {
    AcceptMove(a, lock, GetWord(line, 2));
  } else if (keyword == "Hint:") {
    ReadHint(a, GetWord(line, 2));
  } else if ((keyword == "1-0" || keyword == "0-1" || keyword == "1/2-1/2") &&
             ClaimIsStale(s, line)) {
    a.Log("Result discarded, the engine's game does not bear it out.", kTagDispatcher);
  } else if (keyword == "resign" && GetWord(line, 2).empty()) {
    // The side that resigned is the side to move in the GUI game.
    EndEngineGame(a, line, s.guiGame.WhiteToMoveAfter() ? "result 0-1" : "result 1-0");
  } else if (keyword == "1-0") {
    EndEngineGame(a, line, "result 1-0");
  } else if (keyword == "0-1") {
    EndEngineGame(a, line, "result 0-1");
  } else if (keyword == "1/2-1/2") {
    s.statusPoll = StatusPoll::kOff;
    a.SendToGui("info string " + std::string(line));
    if (s.state == SearchState::kThinking) {
      // The engine will not move in a game it holds for drawn; the GUI
      // still waits, and the next search sets the engine up afresh.
      ForgetEngineGame(a);
      ForceBestMove(a);
    }
  } else if (std::string_view command; IsPositionError(line, command)) {
    HandlePositionError(a, command);
  } else if (keyword == "feature") {
    NegotiateFeature(a.engine, a.settings, line);
  } else if (!s.thinkingOutputEnabled) {
    // thinking output of no search of ours
  } else if (keyword == "stat01:") {
    TranslateStatusLine(a, line);
  } else if (keyword.substr(0, 10) == "var:curmov") {
    TranslateCurrentMoveLine(a, line);
  } else {
    TranslateThinkingLine(a, line);
  }
  return true;
}

}  // namespace vantro
