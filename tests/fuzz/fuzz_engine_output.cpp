// The engine's feature, thinking, status and current-move lines, read in
// every search state with scores from White's side.
#include "base/text.h"
#include "chess/move_text.h"
#include "engine/features.h"
#include "fuzz/fuzz_check.h"
#include "search/position_command.h"
#include "search/search_records.h"
#include "search/thinking_output.h"
#include "support/memory_records.h"

using namespace vantro;

namespace {

struct Discard : ByteSink {
  void Write(std::string_view) override {}
};

struct Records : test::MemoryRecords {
  Records() : MemoryRecords(nowhere, nowhere) {
    log.EndHolding();
    settings.whiteScore = true;
    search.depthLimit = 5;
    ReadPositionCommand("position startpos moves e2e4", search.engineGame);
  }
  Discard nowhere;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static Records* r = new Records;
  SearchRecords& a = r->adapter;
  std::lock_guard lock(a.search.mutex);
  int n = 0;
  for (std::string_view line : SplitWords(fuzz::AsText(data, size), "\n")) {
    static constexpr SearchState kStates[] = {SearchState::kThinking, SearchState::kAnalyzing,
                                              SearchState::kPondering, SearchState::kPondering,
                                              SearchState::kIdle};
    int setup = n++ % 5;
    a.search.SetState(kStates[setup]);
    a.search.hintMove = setup == 3 ? ParseMove(a.search.engineGame.Replay(), "e5") : MoveInfo{};
    a.search.ponderMoveConfirmed = setup != 2;
    if (line.starts_with("feature")) {
      NegotiateFeature(a.engine, a.settings, line);
    } else if (line.starts_with("stat01:")) {
      TranslateStatusLine(a, line);
    } else if (line.starts_with("var:curmov")) {
      TranslateCurrentMoveLine(a, line);
    } else {
      TranslateThinkingLine(a, line);
    }
  }
  return 0;
}
