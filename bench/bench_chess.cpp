#include <benchmark/benchmark.h>

#include <cstdint>

#include "chess/board.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro {
namespace {

// An open middlegame where both Nf3 and exd5 are legal for white.
constexpr const char* kMiddlegameFen =
    "r1bqkb1r/ppp2ppp/2n2n2/3pp3/4P3/2NP4/PPP2PPP/R1BQKBNR w KQkq - 0 1";

void BM_PerftStartPosition(benchmark::State& state) {
  Board board;
  board.SetFEN(kStartFen);
  const int depth = static_cast<int>(state.range(0));
  std::uint64_t nodes = 0;
  for (auto _ : state) {
    const std::uint64_t n = Perft(board, depth);
    benchmark::DoNotOptimize(n);
    nodes += n;
  }
  state.counters["nodes/s"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftStartPosition)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_GenerateLegalMiddlegame(benchmark::State& state) {
  Board board;
  board.SetFEN(kMiddlegameFen);
  for (auto _ : state) {
    MoveList list;
    MoveGenerator::GenerateLegal(board, list);
    benchmark::DoNotOptimize(list.count);
  }
}
BENCHMARK(BM_GenerateLegalMiddlegame);

void BM_ParseMove(benchmark::State& state, const char* text) {
  Board board;
  board.SetFEN(kMiddlegameFen);
  for (auto _ : state) {
    const MoveInfo move = ParseMove(board, text);
    benchmark::DoNotOptimize(move.to);
  }
}
BENCHMARK_CAPTURE(BM_ParseMove, Nf3, "Nf3");
BENCHMARK_CAPTURE(BM_ParseMove, exd5, "exd5");
BENCHMARK_CAPTURE(BM_ParseMove, coordinate, "g1f3");

void BM_MoveToTextSan(benchmark::State& state) {
  Board board;
  board.SetFEN(kMiddlegameFen);
  const MoveInfo move = ParseMove(board, "exd5");
  for (auto _ : state) benchmark::DoNotOptimize(MoveToText(board, move, MoveTextStyle::kSan));
}
BENCHMARK(BM_MoveToTextSan);

}  // namespace
}  // namespace vantro
