#include "core/run.h"

#include <chrono>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "core/adapter.h"
#include "core/engine_session.h"
#include "core/priority_control.h"
#include "platform/process_env.h"
#include "settings/definition_file.h"
#include "uci/uci_loop.h"

namespace vantro {
namespace {

constexpr auto kWatchPeriod = std::chrono::milliseconds(5000);

// All arguments joined with blanks, so a path split into several arguments
// arrives whole.
std::string DefinitionFileName(int argc, char** argv) {
  std::string name;
  for (int i = 1; i < argc; ++i) {
    name += ' ';
    name += argv[i];
  }
  return std::string(Trim(name));
}

void MainLoop(Adapter& a) {
  while (true) {
    switch (a.signals.Wait(kWatchPeriod)) {
      case MainSignals::Wake::kTimeout:
        PriorityWatch(a);
        break;
      case MainSignals::Wake::kEngineEvent:
        // An engine started: from now on its reader's end ends the adapter.
        if (a.engine.Running()) break;
        return;
      case MainSignals::Wake::kEngineReaderEnded:
      case MainSignals::Wake::kGuiReaderEnded:
      case MainSignals::Wake::kBroken:
        return;
    }
  }
}

}  // namespace

int RunAdapter(int argc, char** argv) {
  PrepareStandardStreams();
  Adapter a;  // holding log, locks and uptime come first
  a.Log(kIdentity, kTagAdapter);
  TakeOverPriority(a);

  std::string name = DefinitionFileName(argc, argv);
  if (name.empty() || !ReadDefinitionFile(name, a.settings, a.engineOptions, *a.actions)) {
    ReadDefinitionFile(kDefaultDefinitionFile, a.settings, a.engineOptions, *a.actions);
  }

  a.engine.SetThreadPriority(kThreadPriorityNormal);
  a.guiReader.SetBorrowedInput(StandardInput());
  a.guiReader.SetCallback([&a](std::string_view line) { return OnGuiLine(a.uci, line); });
  a.guiReader.SetOnEnd([&a] { a.signals.GuiReaderEnded(); });
  if (!a.guiReader.Start(kThreadPriorityNormal)) a.signals.Break();

  MainLoop(a);

  a.guiReader.Stop();
  if (a.engine.Running()) EngineStop(a);
  a.engine.reader.Stop();
  a.statusPollTimer.Stop();
  a.log.Close();
  // A GUI command still busy after its grace period (a stop waiting for the
  // engine, say) runs on a thread that uses the adapter: end the process
  // here rather than destroy the adapter under it.
  if (!a.guiReader.LoopEnded() && !a.guiReader.Stopped()) std::_Exit(0);
  return 0;
}

}  // namespace vantro
