#pragma once

#include "search/search_records.h"

namespace vantro::test {

// The search records of one adapter, with the GUI's output and the engine's
// input going to sinks of the caller's (an engine in memory, no process).
struct MemoryRecords {
  MemoryRecords(ByteSink& guiOut, ByteSink& engineIn)
      : gui(log, guiOut), engine(log, settings, engineIn) {}

  Stopwatch uptime;
  Logger log{uptime};
  Settings settings;
  GuiWriter gui;
  EngineLink engine;
  SearchContext search;
  SearchRecords adapter{log, settings, gui, engine, search};
};

}  // namespace vantro::test
