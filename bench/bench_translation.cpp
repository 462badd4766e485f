// The per-line cost of the translation between engine and GUI: what each
// thinking line, engine move and "go" adds on the path between the two.
#include <benchmark/benchmark.h>

#include <string>

#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "search/output_dispatcher.h"
#include "search/position_command.h"
#include "search/search_control.h"
#include "support/memory_records.h"

namespace vantro {
namespace {

// A 38-ply opening the engine game replays before every line it reads.
constexpr const char* kGame =
    "position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 "
    "d7d6 c2c3 e8g8 h2h3 c6a5 b3c2 c7c5 d2d4 d8c7 b1d2 c5d4 c3d4 a5c6 d2b3 a6a5 c1e3 a5a4 b3d2 "
    "c8d7 a1c1 c7b7 d2f1 f8c8 f1g3 g7g6";

// A principal variation of `plies` legal moves from the end of kGame (the
// engine's turn), in coordinates or SAN.
std::string Variation(int plies, bool san) {
  GameRecord game;
  ReadPositionCommand(kGame, game);
  Board board = game.Replay();
  std::string pv;
  for (int i = 0; i < plies; ++i) {
    MoveList legal;
    MoveGenerator::GenerateLegal(board, legal);
    if (legal.count == 0) break;
    MoveInfo m = legal.moves[legal.count / 2];
    pv += ' ';
    pv += san ? MoveToText(board, m, MoveTextStyle::kSan) : MoveToCoord(m);
    board.MakeMove(m, true);
  }
  return pv;
}

struct Discard : ByteSink {
  void Write(std::string_view) override {}
};

// The search records with both ends writing nowhere, mid-search.
struct QuietAdapter : test::MemoryRecords {
  QuietAdapter() : MemoryRecords(nowhere, nowhere) {
    HandlePosition(adapter, kGame);
    HandleGo(adapter, "go wtime 60000 btime 60000", false);
  }
  Discard nowhere;
};

void BM_ThinkingLineToInfo(benchmark::State& state) {
  QuietAdapter q;
  const std::string line = "14 35 1234 9876543" + Variation(10, false);
  for (auto _ : state) OnEngineLine(q.adapter, line);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ThinkingLineToInfo);

void BM_SanThinkingLineToInfo(benchmark::State& state) {
  QuietAdapter q;
  const std::string line = "14 35 1234 9876543" + Variation(10, true);
  for (auto _ : state) OnEngineLine(q.adapter, line);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SanThinkingLineToInfo);

void BM_NonThinkingLineIgnored(benchmark::State& state) {
  QuietAdapter q;
  const std::string line = "Nodes searched: 123456 in 1.23 seconds";
  for (auto _ : state) OnEngineLine(q.adapter, line);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NonThinkingLineIgnored);

// A feature line of many pairs: the time per pair must not grow with the
// line (40 000 pairs once took 30 s while both protocol threads waited).
void BM_FeatureLinePerPair(benchmark::State& state) {
  QuietAdapter q;
  q.adapter.log.EndHolding();
  std::string line = "feature";
  for (int i = 0; i < state.range(0); ++i) line += " a=1";
  line += " myname=\"" + std::string(1000, 'x') + " y\"";
  for (auto _ : state) OnEngineLine(q.adapter, line);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FeatureLinePerPair)->Arg(1000)->Arg(40000)->Unit(benchmark::kMillisecond);

// One full turn: the GUI's go with the new move, then the engine's move.
void BM_IncrementalGoAndBestMove(benchmark::State& state) {
  QuietAdapter q;
  const std::string three = Variation(3, false);  // " w1 b1 w2"
  const std::size_t second = three.find(' ', 1), third = three.find(' ', second + 1);
  OnEngineLine(q.adapter, "move" + three.substr(0, second));
  const std::string position = std::string(kGame) + three.substr(0, third);
  const std::string reply = "move" + three.substr(third);
  const int played = q.search.engineGame.Count();
  for (auto _ : state) {
    HandlePosition(q.adapter, position);
    HandleGo(q.adapter, "go wtime 60000 btime 60000", false);
    OnEngineLine(q.adapter, reply);
    // back to the start of the turn
    state.PauseTiming();
    q.search.TruncateEngineGame(played);
    q.search.bestMoveOwed = false;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IncrementalGoAndBestMove);

}  // namespace
}  // namespace vantro
