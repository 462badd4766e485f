#pragma once

#include "uci/uci_loop.h"

namespace vantro {

struct Adapter;

// Starts the engine named by Program and takes it through the opening
// dialogue. GUI thread. True when an engine runs afterwards.
bool EngineStart(Adapter& adapter);
// Ends the engine connection: "?" or "exit" if a search runs, then "quit" and
// the release of the process. GUI thread, or the main thread at shutdown.
void EngineStop(Adapter& adapter);
// The engine's output has ended: unless the adapter ended the engine itself,
// tells the GUI why in one "info string", answers a search the GUI waits for
// and wakes every wait for the engine. Engine reader thread.
void OnEngineEnded(Adapter& adapter);

class AdapterEngineSession : public EngineSession {
 public:
  explicit AdapterEngineSession(Adapter& adapter) : a_(adapter) {}
  bool Start() override { return EngineStart(a_); }
  // Without an engine the main thread waits for this event to end the adapter.
  void StartFailed() override;
  void Stop() override { EngineStop(a_); }

 private:
  Adapter& a_;
};

}  // namespace vantro
