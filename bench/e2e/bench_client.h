#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench_process.h"
#include "chess/board.h"

namespace vantro::bench {

// One bridge configuration as the benchmark drives it: a UCI client (or, for
// the peer adapter that shows a UCI engine as an xboard engine, an xboard
// client) on the bridge's pipes.
struct BridgeSetup {
  std::string name;
  std::vector<std::string> argv;
  std::string workDir;
  bool xboard = false;
  bool ownProcess = true;  // false: the engine itself, nothing between
};

struct SearchResult {
  double micros = 0;      // command sent -> move received (stop sent -> move for Stop)
  int pvLines = 0;        // thinking lines received
  double lineSpanUs = 0;  // first thinking line -> move
  std::string move;
};

class BridgeClient {
 public:
  explicit BridgeClient(const BridgeSetup& setup);

  const BridgeSetup& Setup() const { return setup_; }
  bool Ready() const { return ready_; }
  pid_t Pid() const { return process_.Pid(); }

  // A search with a full set-up: the game `moves` from the start position.
  std::optional<SearchResult> FullSearch(const std::vector<std::string>& moves);
  // One more move of the client's own game; a fresh game (not timed) when
  // it is over or long.
  std::optional<SearchResult> IncrementalSearch();
  // A search from the start position that ends with "stop" once it has begun.
  std::optional<SearchResult> StopSearch();

 private:
  bool Handshake();
  std::string Setup(const std::vector<std::string>& moves) const;
  std::optional<SearchResult> Await(Clock::time_point sent);
  bool StartGame();

  BridgeSetup setup_;
  BenchProcess process_;
  bool ready_ = false;
  bool usermove_ = false;          // xboard: moves go as "usermove <move>"
  std::vector<std::string> game_;  // the incremental game so far
  Board board_;
  std::mt19937 random_{12345};
};

// A game of `plies` random legal moves after which the side to move has a
// move, material enough and no pending fifty-move draw; fixed per seed.
std::vector<std::string> RandomGame(int plies, unsigned seed);

}  // namespace vantro::bench
