#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/log.h"
#include "core/main_signals.h"
#include "engine/engine_link.h"
#include "engine/line_io.h"
#include "platform/line_reader_thread.h"
#include "platform/periodic_timer.h"
#include "platform/priority.h"
#include "platform/process_env.h"
#include "platform/stopwatch.h"
#include "search/search_context.h"
#include "search/search_records.h"
#include "settings/engine_options.h"
#include "settings/formula.h"
#include "settings/settings.h"
#include "uci/uci_loop.h"

namespace vantro {

inline constexpr const char* kIdentity = "Vantro 1.3B10";
inline constexpr const char* kDefaultDefinitionFile = "Vantro.eng";
inline constexpr const char* kHelpPage = "Vantro.html";

// The adapter's process-wide records, owned in one place. Each layer's
// handlers take only the records they use, bound here.
struct Adapter {
  Adapter();
  ~Adapter();
  Adapter(const Adapter&) = delete;
  Adapter& operator=(const Adapter&) = delete;

  Stopwatch uptime;  // the log's time base, started first
  Logger log{uptime};
  Settings settings;
  EngineOptionList engineOptions;
  FormulaEvaluator formula;  // GUI thread only
  HandleSink standardOutput{StandardOutput()};
  GuiWriter gui{log, standardOutput};
  EngineLink engine{log, settings};
  SearchContext search;
  MainSignals signals;
  LineReaderThread guiReader;
  PeriodicTimer statusPollTimer;

  // The engine's wanted priority class; the engine's thread priority is the
  // Priority setting. `priorityControl` keeps the priority watch away while
  // the engine is started or stopped.
  std::atomic<std::uint32_t> wantedEngineClass{kNormalPriorityClass};
  std::atomic<bool> priorityControl{true};

  std::unique_ptr<SettingActions> actions;
  std::unique_ptr<EngineSession> session;
  SearchRecords searching{log, settings, gui, engine, search};
  UciRecords uci;

  void SendToGui(std::string_view line) { gui.Send(line); }
  void SendToEngine(std::string_view line) { engine.SendToEngine(line); }
  void Log(std::string_view text, std::string_view tag) { log.Log(text, tag); }
};

}  // namespace vantro
