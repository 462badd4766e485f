#pragma once

#include <string_view>

namespace vantro {

struct Adapter;

// Answers every name=value pair of an engine "feature" line with
// "accepted <name>", in order, recording the features that change how the
// adapter talks to the engine. Engine reader thread.
void NegotiateFeature(Adapter& adapter, std::string_view line);

}  // namespace vantro
