#pragma once

#include <string_view>

namespace vantro {

struct SearchRecords;

// Translations of the engine's thinking output into UCI "info" lines; engine
// reader thread, search mutex held.

// "<ply> <score> <centiseconds> <nodes> <pv...>"; other lines are ignored.
void TranslateThinkingLine(SearchRecords& records, std::string_view line);
// "stat01: <time> <nodes> <ply> <moves left> <moves total> <move>".
void TranslateStatusLine(SearchRecords& records, std::string_view line);
// "var:curmov=<depth> ..." lines.
void TranslateCurrentMoveLine(SearchRecords& records, std::string_view line);

}  // namespace vantro
