#include "engine/engine_control.h"

#include <cmath>

#include "settings/engine_options.h"

namespace vantro {

int HashValue(const Settings& settings, FormulaEvaluator& formula) {
  int hash = settings.hash;
  if (settings.hashFormula.empty()) return hash;
  double value = formula.Evaluate("HASH=" + std::to_string(hash) + ";" + settings.hashFormula);
  if (!std::isfinite(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);  // truncates toward zero
}

std::string HashCommandText(const Settings& settings, FormulaEvaluator& formula) {
  return FormatInt(settings.hashCommand, HashValue(settings, formula));
}

void SendPostMode(EngineLink& engine, const Settings& settings) {
  if (!engine.Running()) return;
  engine.SendToEngine(settings.noise < 0 ? "nopost" : "post");
}

void SendPonderMode(EngineLink& engine, const Settings& settings) {
  if (!engine.Running()) return;
  engine.SendToEngine(settings.ponder ? "hard" : "hard\neasy");
}

void SendHashCommand(EngineLink& engine, const Settings& settings, FormulaEvaluator& formula) {
  if (!engine.Running() || settings.hashOnCommandLine || !IsSet(settings.hashCommand)) return;
  engine.SendToEngine(HashCommandText(settings, formula));
}

void SendPendingCommands(EngineLink& engine) {
  if (engine.Running()) {
    for (const std::string& command : engine.pendingCommands) engine.SendToEngine(command);
  }
  engine.pendingCommands.clear();
}

void UpdateSpinThreads(EngineLink& engine, const Settings& settings) {
  if (!engine.Running()) return;
  engine.spinPool.SetCount(settings.slowDown - 1);
}

}  // namespace vantro
