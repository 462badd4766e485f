#pragma once

#include <string_view>

#include "base/log.h"
#include "engine/engine_link.h"
#include "engine/line_io.h"
#include "search/search_context.h"
#include "settings/settings.h"

namespace vantro {

// The records the search commands and the engine's output handlers work on.
// The composition root binds them to its own; tests bind them to theirs.
struct SearchRecords {
  Logger& log;
  Settings& settings;
  GuiWriter& gui;
  EngineLink& engine;
  SearchContext& search;

  void SendToGui(std::string_view line) { gui.Send(line); }
  void SendToEngine(std::string_view line) { engine.SendToEngine(line); }
  void Log(std::string_view text, std::string_view tag) { log.Log(text, tag); }
};

}  // namespace vantro
