#include "core/run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/adapter.h"
#include "core/engine_session.h"
#include "core/priority_control.h"
#include "engine/probe.h"
#include "platform/process_env.h"
#include "settings/definition_file.h"
#include "uci/uci_loop.h"

namespace vantro {
namespace {

constexpr auto kWatchPeriod = std::chrono::milliseconds(5000);
// Longer than any bounded wait inside one command or engine line (a stop
// waits 41 x 250 ms for the engine), so shutdown never runs beside one.
constexpr int kCommandEndWaitMs = 12000;

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

constexpr const char* kUsage =
    "Usage: vantro [DEFINITION-FILE]\n"
    "       vantro --probe PROGRAM [ARGUMENTS...]\n"
    "       vantro --help | --version\n"
    "\n"
    "Runs a chess engine that speaks the xboard protocol as a UCI engine. A UCI GUI\n"
    "starts vantro with the engine definition file (default Vantro.eng in the current\n"
    "directory), which names the engine program and its settings.\n"
    "\n"
    "  --probe PROGRAM [ARGUMENTS...]\n"
    "                 start the engine, ask it for its features and options, and\n"
    "                 print a definition file for it on standard output\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "Documentation: vantro(1), Vantro.html.\n";

// The command-line options; a first argument that is none of them is (part
// of) the definition file's name, as it always was.
std::optional<int> RunCommandLineOption(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view option = argv[1];
  if (option != "--help" && option != "--version" && option != "--probe") return std::nullopt;
  // Binary streams: on Windows a text-mode stdout would turn each line end into CR LF.
  PrepareStandardStreams();
  if (option == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (option == "--version") {
    std::printf("%s\n", kIdentity);
    return 0;
  }
  return RunProbe(std::vector<std::string>(argv + 2, argv + argc));
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
  if (std::optional<int> status = RunCommandLineOption(argc, argv)) return *status;
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

  // A command or engine line that never ends (a write to a GUI that reads
  // nothing) runs on a thread that uses the adapter: end the process then,
  // rather than stop the engine beside it or destroy the adapter under it.
  auto abandon = [&a](const char* what) {
    a.Log(std::string(what) + " still runs; ending without clean-up.", kTagAdapter);
    a.log.Close();
    std::_Exit(0);
  };
  a.guiReader.Stop(kCommandEndWaitMs);
  if (a.guiReader.Busy()) abandon("A GUI command");
  if (a.engine.Running()) EngineStop(a);
  a.engine.reader.Stop(kCommandEndWaitMs);
  if (a.engine.reader.Busy()) abandon("An engine line");
  a.statusPollTimer.Stop();
  a.log.Close();
  return 0;
}

}  // namespace vantro
