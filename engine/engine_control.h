#pragma once

#include <string>

#include "engine/engine_link.h"
#include "settings/formula.h"
#include "settings/settings.h"

namespace vantro {

// Bring a running engine in line with a setting; nothing without an engine.
void SendPostMode(EngineLink& engine, const Settings& settings);
void SendPonderMode(EngineLink& engine, const Settings& settings);
void SendHashCommand(EngineLink& engine, const Settings& settings, FormulaEvaluator& formula);
void SendPendingCommands(EngineLink& engine);
void UpdateSpinThreads(EngineLink& engine, const Settings& settings);

// The hash size handed to the engine (the Hash setting, or the hash formula's
// result truncated toward zero) and the filled hash command.
int HashValue(const Settings& settings, FormulaEvaluator& formula);
std::string HashCommandText(const Settings& settings, FormulaEvaluator& formula);

}  // namespace vantro
