#pragma once

#include <string>

#include "engine/engine_link.h"
#include "search/go_request.h"
#include "settings/settings.h"

namespace vantro {

// The depth that stands for no depth limit. Not 99: Fairy-Max given "sd 98"
// or more never ends the search of a position it can mate in.
inline constexpr int kUnlimitedDepth = 64;

// The time control last sent to the engine (moves, whole minutes, increment
// in whole seconds).
struct LevelMemory {
  int moves = 0;
  int minutes = 5;
  int increment = 0;

  bool operator==(const LevelMemory&) const = default;
};

// What one go knows when it decides on the engine's time control.
struct TimeControlInput {
  GoRequest go;
  int newCount = 0;        // moves of the GUI game
  int oldCount = 0;        // moves of the engine game after the comparison
  bool fullReset = false;  // this go set the engine up from scratch
  bool whiteToMove = true;
  int engineTime = -1;    // ms on the clock of the side to move, -1 unknown
  int remainingMs = 0;    // remaining on the search stopwatch
  int levelExtend = 3;    // LevelExtendPolicy
  bool mustSend = false;  // the engine holds a fixed move time this control must replace
};

struct TimeControlDecision {
  enum class Action { kNothing, kSendLevel, kRestartGame };
  Action action = Action::kNothing;
  int moves = 0;
  int baseSeconds = 0;
  int incrementSeconds = 0;
  LevelMemory memory;  // the memory after this go (unchanged for kRestartGame)
};

// The time-control step of a non-infinite go under the LevelExtend policies.
// Never asks for a control of no time at all: a base of 0 s with no increment
// becomes 1 s (the real clock still reaches the engine through time/otim).
TimeControlDecision DecideTimeControl(const TimeControlInput& input, const LevelMemory& memory);

// "level ..." or "setlevel ..." for a control (LevelType 2 selects setlevel;
// a base of 86400 s there becomes the depth command for kUnlimitedDepth).
std::string LevelCommand(int levelType, int moves, int baseSeconds, int incrementSeconds);
// Sends that command in the form the LevelType setting asks for.
void SendLevel(EngineLink& engine, const Settings& settings, int moves, int baseSeconds,
               int incrementSeconds);
// "sd N" or "setlevel 0 N".
std::string DepthCommand(int levelType, int depth);
// "st N" for a movetime above 0: whole seconds rounded up, so the engine's
// own limit never cuts the GUI's time short (a move-now ends the search at
// the GUI's time). Empty for movetime <= 0.
std::string MoveTimeCommand(int movetimeMs);

}  // namespace vantro
