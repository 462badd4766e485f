#include "game_keeper.h"

#include <utility>

#include "base/text.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro::fake {
namespace {

constexpr std::chrono::milliseconds kAnalyzeInterval{100};

// "e2e4" or "e7e8q": what a bare move from an xboard GUI looks like.
bool IsCoordMove(std::string_view text) {
  auto file = [](char c) { return c >= 'a' && c <= 'h'; };
  auto rank = [](char c) { return c >= '1' && c <= '8'; };
  return (text.size() == 4 || text.size() == 5) && file(text[0]) && rank(text[1]) &&
         file(text[2]) && rank(text[3]);
}

}  // namespace

GameKeeper::GameKeeper(const Script& script, EngineIo& io) : script_(script), io_(io) {
  const std::uint64_t seed = script.seed ? *script.seed : std::random_device()();
  random_.seed(seed);
  io_.Note("seed", std::to_string(seed));
  board_.SetFEN(kStartFen);
  thread_ = std::thread([this] { SearchLoop(); });
}

GameKeeper::~GameKeeper() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void GameKeeper::OnLine(std::string_view line) {
  line = Trim(line);
  const std::string_view word = GetWord(line, 1);
  const std::string_view rest = Trim(line.substr(word.size()));
  std::lock_guard lock(mutex_);
  if (word == "new") {
    SetBoard(kStartFen);
    force_ = analyzing_ = false;
    engineSide_ = kBlack;
  } else if (word == "force") {
    force_ = true;
    searching_ = false;
  } else if (word == "go") {
    force_ = analyzing_ = false;
    engineSide_ = board_.sideToMove;
    StartSearch();
  } else if (word == "setboard") {
    SetBoard(rest);
  } else if (word == "usermove") {
    ReceiveMove(rest);
  } else if (IsCoordMove(word) && rest.empty()) {
    ReceiveMove(word);
  } else if (word == "?") {
    if (searching_) io_.Print(PlayMove());
  } else if (word == "analyze") {
    analyzing_ = true;
    BoardChanged();
  } else if (word == "exit") {
    analyzing_ = false;
  }
}

void GameKeeper::ReceiveMove(std::string_view text) {
  MoveInfo move = ParseMove(board_, text);  // only legal moves decode
  if (move.Empty()) {
    io_.Note("illegal", text);
    io_.Print("Illegal move: " + std::string(text) + "\n");
    return;
  }
  board_.MakeMove(move, false);
  if (analyzing_) {
    BoardChanged();
  } else if (!force_ && board_.sideToMove == engineSide_) {
    StartSearch();
  }
}

void GameKeeper::SetBoard(std::string_view fen) {
  board_.SetFEN(fen);
  BoardChanged();
}

// A changed position ends a search and restarts an analysis.
void GameKeeper::BoardChanged() {
  searching_ = false;
  analysisDepth_ = 0;
  since_ = wakeAt_ = Clock::now();
  // The search thread serves only analyses and delayed moves: waking it for
  // nothing would add to every benchmarked set-up.
  if (analyzing_) wake_.notify_all();
}

void GameKeeper::StartSearch() {
  searching_ = true;
  since_ = Clock::now();
  wakeAt_ = since_ + std::chrono::milliseconds(Random(script_.minDelayMs, script_.maxDelayMs));
  // Everything it can say now goes out at once: benchmarks time the bridge, not the fake.
  planned_ = RandomMove(board_);
  std::string out;
  for (int depth = 1; depth <= script_.thinkLines && !planned_.Empty(); ++depth) {
    out += ThinkingLine(depth, planned_) + "\n";
  }
  if (wakeAt_ <= since_) {
    out += PlayMove();
  } else {
    wake_.notify_all();
  }
  io_.Print(out);
}

void GameKeeper::SearchLoop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (!searching_ && !analyzing_) {
      wake_.wait(lock);
    } else if (Clock::now() < wakeAt_) {
      wake_.wait_until(lock, wakeAt_);
    } else if (searching_) {
      io_.Print(PlayMove());
    } else {
      const MoveInfo move = RandomMove(board_);
      if (!move.Empty()) io_.Print(ThinkingLine(++analysisDepth_, move) + "\n");
      wakeAt_ = Clock::now() + kAnalyzeInterval;
    }
  }
}

std::string GameKeeper::PlayMove() {
  searching_ = false;
  MoveInfo move = std::exchange(planned_, MoveInfo{});
  if (move.Empty()) {
    if (!MoveGenerator::InCheck(board_, board_.sideToMove)) return "1/2-1/2 {Stalemate}\n";
    return board_.sideToMove == kWhite ? "0-1 {Black mates}\n" : "1-0 {White mates}\n";
  }
  board_.MakeMove(move, false);
  return "move " + MoveToCoord(move) + "\n";
}

// "<depth> <score> <centiseconds> <nodes> <move> [<reply>]": the principal
// variation holds a random legal reply, so that ponder moves can be tested.
std::string GameKeeper::ThinkingLine(int depth, const MoveInfo& move) {
  const auto centiseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since_).count() / 10;
  std::string line = std::to_string(depth) + " " + std::to_string(Random(-100, 100)) + " " +
                     std::to_string(centiseconds) + " " +
                     std::to_string(depth * 1000 + Random(0, 999)) + " " + MoveToCoord(move);
  Board after = board_;
  MoveInfo made = move;
  after.MakeMove(made, false);
  const MoveInfo reply = RandomMove(after);
  if (!reply.Empty()) line += " " + MoveToCoord(reply);
  return line;
}

MoveInfo GameKeeper::RandomMove(const Board& board) {
  MoveList moves;
  MoveGenerator::GenerateLegal(board, moves);
  return moves.count == 0 ? MoveInfo{} : moves.moves[Random(0, moves.count - 1)];
}

int GameKeeper::Random(int minimum, int maximum) {
  return std::uniform_int_distribution<int>(minimum, maximum)(random_);
}

}  // namespace vantro::fake
