#include "search/go_request.h"

#include "base/text.h"

namespace vantro {

namespace {

// The field a numeric keyword fills, or nullptr for any other word.
int* NumericField(GoRequest& request, std::string_view word) {
  if (word == "wtime") return &request.wtime;
  if (word == "btime") return &request.btime;
  if (word == "winc") return &request.winc;
  if (word == "binc") return &request.binc;
  if (word == "movestogo") return &request.movestogo;
  if (word == "depth") return &request.depth;
  if (word == "movetime") return &request.movetime;
  return nullptr;
}

}  // namespace

GoRequest ParseGo(std::string_view line) {
  GoRequest request;
  WordCursor words(line);
  words.Next();  // "go"
  for (std::string_view word = words.Next(); !word.empty(); word = words.Next()) {
    if (word == "searchmoves") {
      request.searchmoves = true;
      break;
    }
    if (word == "ponder") {
      request.ponder = true;
    } else if (word == "infinite") {
      request.infinite = true;
    } else if (int* field = NumericField(request, word)) {
      // The value word is taken whatever it is; a keyword at the end of the line stores 0.
      *field = ParseInt(words.Next());
    } else if (word == "nodes" || word == "mate") {
      words.Next();  // these limits never reach the engine
    }
  }
  return request;
}

}  // namespace vantro
