#pragma once

#include <string_view>

#include "search/search_records.h"
#include "settings/engine_options.h"
#include "settings/settings.h"

namespace vantro {

// The engine's life belongs to the layer that owns every record; the UCI
// loop asks it through this.
class EngineSession {
 public:
  virtual ~EngineSession() = default;
  // True when an engine runs afterwards.
  virtual bool Start() = 0;
  // After a failed start has been reported to the GUI.
  virtual void StartFailed() = 0;
  virtual void Stop() = 0;
};

// The records the UCI loop works on.
struct UciRecords {
  SearchRecords& searching;
  EngineOptionList& engineOptions;
  SettingActions& actions;
  EngineSession& session;
};

// Handles one line from the GUI: trims and logs it, then dispatches the UCI
// command. GUI reader thread. False ends the reading (the engine could not be
// started).
bool OnGuiLine(UciRecords& uci, std::string_view line);

}  // namespace vantro
