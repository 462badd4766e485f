#pragma once

#include <string_view>

#include "engine/engine_link.h"
#include "settings/settings.h"

namespace vantro {

// Answers every name=value pair of an engine "feature" line with
// "accepted <name>", in order, recording the features that change how the
// adapter talks to the engine. Engine reader thread.
void NegotiateFeature(EngineLink& engine, Settings& settings, std::string_view line);

}  // namespace vantro
