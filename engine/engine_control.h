#pragma once

#include <string>

namespace vantro {

struct Adapter;

// Starts the engine named by Program and takes it through the opening
// dialogue. GUI thread. True when an engine runs afterwards.
bool EngineStart(Adapter& adapter);
// Ends the engine connection: "?" or "exit" if a search runs, then "quit" and
// the release of the process. GUI thread, or the main thread at shutdown.
void EngineStop(Adapter& adapter);

// Bring a running engine in line with a setting; nothing without an engine.
void SendPostMode(Adapter& adapter);
void SendPonderMode(Adapter& adapter);
void SendHashCommand(Adapter& adapter);
void SendPendingCommands(Adapter& adapter);
void UpdateSpinThreads(Adapter& adapter);

// The hash size handed to the engine (the Hash setting, or the hash formula's
// result truncated toward zero) and the filled hash command.
int HashValue(Adapter& adapter);
std::string HashCommandText(Adapter& adapter);

// The start time control: "level 0 5 0" or its setlevel form.
void SendLevel(Adapter& adapter, int moves, int baseSeconds, int incrementSeconds);

}  // namespace vantro
