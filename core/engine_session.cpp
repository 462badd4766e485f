#include "core/engine_session.h"

#include <chrono>

#include "base/text.h"
#include "core/adapter.h"
#include "core/priority_control.h"
#include "engine/engine_control.h"
#include "platform/process_env.h"
#include "search/best_move.h"
#include "search/output_dispatcher.h"
#include "search/time_control.h"

namespace vantro {
namespace {

constexpr std::uint32_t kProtocolGraceMs = 1000;
constexpr std::uint32_t kFeatureListWaitMs = 59 * 1000;
constexpr auto kStopMoveWait = std::chrono::milliseconds(20 * 250);
constexpr std::uint32_t kNudgeIntervalMs = 10;
constexpr int kNudgeLimit = 500;  // five seconds

// GNU Chess reads its first lines only when more input arrives, and drops
// lines that arrived together until it is ready; it shows readiness with its
// first line. Until then it gets only the nudge, one line per write.
void NudgeUntilHeard(Adapter& a) {
  if (!IsSet(a.settings.nudge)) return;
  for (int i = 0; i < kNudgeLimit; ++i) {
    a.SendToEngine(a.settings.nudge);
    if (a.engine.WaitOutput(kNudgeIntervalMs)) return;
  }
  a.Log("The engine never answered its nudge.", kTagConnection);
}

// An engine that closed its output is normally gone a moment later.
constexpr int kExitStatusWaitMs = 300;

}  // namespace

bool EngineStart(Adapter& a) {
  if (a.engine.Running()) return true;
  if (!IsSet(a.settings.program)) return false;

  std::string commandLine(Trim(a.settings.program));
  if (a.settings.hashOnCommandLine && IsSet(a.settings.hashCommand)) {
    commandLine += ' ';
    commandLine += HashCommandText(a.settings, a.formula);
  }
  a.Log("Starting server: " + commandLine, kTagConnection);

  a.priorityControl = false;
  a.engine.SetPriorityClass(kNormalPriorityClass);
  a.engine.SetThreadPriority(kThreadPriorityNormal);
  if (!a.engine.StartProcess(commandLine)) {
    a.engine.CloseProcess(a.settings.terminateHard);
    a.Log("Error starting server program.", kTagConnection);
    a.priorityControl = true;
    return false;
  }

  a.engine.reader.SetInput(a.engine.TakeOutput());
  a.engine.reader.SetCallback([&a](std::string_view line) {
    // The GUI gets what one read brings in one write; with DELAY the engine
    // reader may pause for its own lines, so then nothing is held.
    if (a.settings.delay == 0) a.gui.Hold();
    a.engine.NoteOutput();
    return OnEngineLine(a.searching, line);
  });
  a.engine.reader.SetAfterRead([&a] { a.gui.Release(); });
  a.engine.reader.SetOnEnd([&a] {
    OnEngineEnded(a);
    a.signals.EngineReaderEnded();
  });
  a.engine.reader.Start(kThreadPriorityNormal);

  NudgeUntilHeard(a);
  int initTime = a.settings.initTime;
  std::uint32_t initMs = initTime > 0 ? static_cast<std::uint32_t>(initTime) * 1000u : 0u;
  if (a.settings.protocol == 1) {
    SleepMs(initMs);
    a.SendToEngine("xboard");
  } else {
    a.SendToEngine("xboard\nprotover 2");
    // Every engine gets at least a second (or InitTime) before it is
    // addressed again; one that opened its feature list gets up to another
    // minute to close it, and is addressed the moment it does.
    a.engine.SleepUnlessGone(kProtocolGraceMs);
    if (!a.engine.NegotiationOpen() && initMs > kProtocolGraceMs) {
      a.engine.SleepUnlessNegotiationCloses(initMs - kProtocolGraceMs);
    }
    if (a.engine.NegotiationOpen()) a.engine.WaitNegotiationClosed(kFeatureListWaitMs);
  }
  if (a.engine.Gone()) {
    a.priorityControl = true;
    return false;  // the GUI has been told why
  }

  a.SendToEngine("new");
  SendLevel(a.engine, a.settings, 0, 300, 0);
  {
    std::lock_guard lock(a.search.mutex);
    a.search.level = LevelMemory{0, 5, 0};
  }
  if (IsSet(a.settings.initString)) a.SendToEngine(a.settings.initString);
  SendPostMode(a.engine, a.settings);
  SendHashCommand(a.engine, a.settings, a.formula);
  SendPonderMode(a.engine, a.settings);
  SendPendingCommands(a.engine);
  UpdateSpinThreads(a.engine, a.settings);
  ApplyEnginePriority(a);

  a.priorityControl = true;
  if (a.signals.EngineEventHeld()) a.signals.SignalEngineEvent();
  return true;
}

void EngineStop(Adapter& a) {
  a.engine.MarkStopping();
  a.priorityControl = false;
  a.search.statusPoll = StatusPoll::kOff;
  a.engine.SetPriorityClass(kNormalPriorityClass);
  a.engine.SetThreadPriority(kThreadPriorityNormal);

  {
    std::unique_lock lock(a.search.mutex);
    SearchState state = a.search.state;
    if (state == SearchState::kThinking && !a.engine.Gone()) {
      a.SendToEngine(a.settings.moveNow);
      a.search.WaitWhile(lock, SearchState::kThinking, kStopMoveWait);
    } else if (state == SearchState::kAnalyzing) {
      a.SendToEngine(a.settings.exitAnalysis);
    }
  }

  if (a.engine.Running()) {
    a.SendToEngine("quit");
    a.engine.CloseProcess(a.settings.terminateHard);
    // The reader owns the engine's output; without a kill the engine may
    // linger, and releasing it must still end the connection.
    a.engine.reader.RequestStop();
  } else {
    // Without an engine, the main thread ends on the engine event, or on a
    // broken wait once that event was consumed.
    if (a.signals.EngineEventHeld()) {
      a.signals.SignalEngineEvent();
    } else {
      a.signals.Break();
    }
  }
  a.priorityControl = true;
}

void OnEngineEnded(Adapter& a) {
  if (a.engine.Stopping()) return;
  std::string text = "info string Engine " + a.engine.EndCause(kExitStatusWaitMs);
  a.engine.MarkGone();
  std::lock_guard lock(a.search.mutex);
  a.SendToGui(text);
  if (a.search.state == SearchState::kThinking) {
    ForceBestMove(a.searching);  // the GUI's clock runs
  } else {
    a.search.SetState(SearchState::kIdle);
  }
}

void AdapterEngineSession::StartFailed() {
  if (a_.signals.EngineEventHeld()) a_.signals.SignalEngineEvent();
}

}  // namespace vantro
