// instant_uci_engine [--lines N] [--wait]: a UCI engine that answers every
// "go" at once with N info lines (default 1) and "bestmove" for a legal move,
// all in one write; with --wait the move waits for "stop". Everything read
// in one block is answered in one write. The benchmark's engine for the
// direct, relay and peer-adapter configurations.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "chess/board.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace {

using namespace vantro;

struct Engine {
  int lines = 1;
  bool wait = false;
  Board board;
  std::uint64_t random = 0x9E3779B97F4A7C15ull;
  std::string pending;  // the bestmove line held back until "stop"

  MoveInfo Pick(const Board& b) {
    MoveList moves;
    MoveGenerator::GenerateLegal(b, moves);
    if (moves.count == 0) return MoveInfo{};
    random = random * 6364136223846793005ull + 1442695040888963407ull;
    return moves.moves[(random >> 33) % static_cast<std::uint64_t>(moves.count)];
  }

  void Position(std::string_view rest) {
    std::size_t movesAt = rest.find(" moves ");
    std::string_view setup = rest.substr(0, movesAt);
    if (setup.starts_with("fen ")) {
      board.SetFEN(setup.substr(4));
    } else {
      board.SetFEN(kStartFen);
    }
    if (movesAt == std::string_view::npos) return;
    std::string_view moves = rest.substr(movesAt + 7);
    while (!moves.empty()) {
      std::size_t end = moves.find(' ');
      // The client sends legal moves; decoding without a legality test keeps
      // the engine's share of the timings small.
      MoveInfo m;
      if (DecodeCoordMove(board, m, moves.substr(0, end))) board.MakeMove(m, false);
      moves = end == std::string_view::npos ? std::string_view{} : moves.substr(end + 1);
    }
  }

  void Go(std::string_view rest, std::string& out) {
    MoveInfo best = Pick(board);
    if (best.Empty()) {
      out += "bestmove 0000\n";
      return;
    }
    Board after = board;
    MoveInfo made = best;
    after.MakeMove(made, false);
    MoveInfo reply = Pick(after);
    std::string pv = MoveToCoord(best) + (reply.Empty() ? "" : " " + MoveToCoord(reply));
    for (int depth = 1; depth <= lines; ++depth) {
      out += "info depth " + std::to_string(depth) + " score cp " + std::to_string(depth % 50) +
             " time " + std::to_string(depth) + " nodes " + std::to_string(depth * 1000) +
             " nps 1000000 pv " + pv + "\n";
    }
    std::string move = "bestmove " + MoveToCoord(best) +
                       (reply.Empty() ? "" : " ponder " + MoveToCoord(reply)) + "\n";
    if (wait || rest.find("infinite") != std::string_view::npos) {
      pending = move;
    } else {
      out += move;
    }
  }

  // False on "quit".
  bool OnLine(std::string_view line, std::string& out) {
    std::string_view word = line.substr(0, line.find(' '));
    std::string_view rest = word.size() < line.size() ? line.substr(word.size() + 1) : "";
    if (word == "uci") {
      out += "id name Instant\nid author Vantro bench\nuciok\n";
    } else if (word == "isready") {
      out += "readyok\n";
    } else if (word == "position") {
      Position(rest);
    } else if (word == "go") {
      Go(rest, out);
    } else if (word == "stop") {
      out += pending;
      pending.clear();
    } else if (word == "quit") {
      return false;
    }
    return true;
  }
};

void WriteAll(std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(1, text.data(), text.size());
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

int main(int argc, char** argv) {
  Engine engine;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lines") == 0 && i + 1 < argc) engine.lines = std::atoi(argv[++i]);
    if (std::strcmp(argv[i], "--wait") == 0) engine.wait = true;
  }
  engine.board.SetFEN(kStartFen);
  std::string line, out;
  char block[65536];
  ssize_t got;
  while ((got = ::read(0, block, sizeof block)) > 0) {
    bool going = true;
    for (ssize_t i = 0; i < got && going; ++i) {
      if (block[i] == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        going = engine.OnLine(line, out);
        line.clear();
      } else {
        line += block[i];
      }
    }
    WriteAll(out);
    out.clear();
    if (!going) return 0;
  }
  return 0;
}
