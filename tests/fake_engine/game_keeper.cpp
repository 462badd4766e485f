#include "game_keeper.h"

#include <algorithm>
#include <array>

#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "core/text.h"

namespace vantro::fake {
namespace {

constexpr std::string_view kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Commands that change nothing in this fake's game.
constexpr std::array<std::string_view, 26> kIgnoredCommands = {
    "white", "black", "level",    "st",       "sd",       "time",   "otim",     "post",   "nopost",
    "hard",  "easy",  "computer", "accepted", "rejected", "xboard", "protover", "result", "random",
    "ping",  ".",     "quit",     "name",     "rating",   "ics",    "hint",     "draw"};

std::uint64_t SeedFromClock() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<std::uint64_t>(now) ^ std::random_device()();
}

}  // namespace

bool LooksLikeMove(std::string_view text) {
  while (!text.empty() &&
         (text.back() == '+' || text.back() == '#' || text.back() == '!' || text.back() == '?')) {
    text.remove_suffix(1);
  }
  if (text == "O-O" || text == "O-O-O" || text == "0-0" || text == "0-0-0") return true;
  if (text.size() < 2 || text.size() > 7) return false;
  if (std::string_view("KQRBNPabcdefgh").find(text.front()) == std::string_view::npos) return false;
  const bool allowed = std::all_of(text.begin(), text.end(), [](char c) {
    return std::string_view("KQRBNPabcdefgh12345678x=-qrbn").find(c) != std::string_view::npos;
  });
  return allowed &&
         std::any_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '8'; });
}

GameKeeper::GameKeeper(const Script& script, EngineLog& log, EngineOutput& output)
    : script_(script), log_(log), output_(output) {
  const std::uint64_t seed = script.seed ? *script.seed : SeedFromClock();
  random_.seed(seed);
  log_.Note("seed", std::to_string(seed));
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
  std::lock_guard lock(mutex_);
  if (editor_) {
    if (line == ".") {
      ResetBoard(editor_->Finish());
      editor_.reset();
    } else if (!editor_->Apply(line)) {
      log_.Note("unknown", line);
    }
    return;
  }
  const std::string_view word = GetWord(line, 1);
  const std::string_view rest = Trim(line.substr(std::min(line.size(), word.size())));
  if (word.empty() || HandleCommand(word, rest)) return;
  if (LooksLikeMove(word) && rest.empty()) {
    ReceiveMove(word);
  } else {
    log_.Note("unknown", line);
  }
}

bool GameKeeper::HandleCommand(std::string_view word, std::string_view rest) {
  if (word == "new") {
    Board start;
    start.SetFEN(kStartFen);
    ResetBoard(start);
    force_ = false;
    engineSide_ = kBlack;
    analyzing_ = false;
  } else if (word == "force") {
    force_ = true;
    searching_ = false;
  } else if (word == "go") {
    force_ = false;
    analyzing_ = false;
    engineSide_ = board_.sideToMove;
    StartSearch();
  } else if (word == "playother") {
    force_ = false;
    searching_ = false;
    engineSide_ = board_.sideToMove == kWhite ? kBlack : kWhite;
  } else if (word == "setboard") {
    Board board;
    board.SetFEN(rest);
    ResetBoard(board);
  } else if (word == "edit") {
    searching_ = false;
    editor_.emplace(board_);
  } else if (word == "usermove") {
    ReceiveMove(rest);
  } else if (word == "undo" || word == "remove") {
    TakeBack(word == "undo" ? 1 : 2);
  } else if (word == "?") {
    if (searching_) moveAt_ = Clock::now();
    wake_.notify_all();
  } else if (word == "analyze") {
    searching_ = false;
    analyzing_ = true;
    StartAnalysis();
  } else if (word == "exit") {
    analyzing_ = false;
  } else {
    return std::find(kIgnoredCommands.begin(), kIgnoredCommands.end(), word) !=
           kIgnoredCommands.end();
  }
  return true;
}

void GameKeeper::ReceiveMove(std::string_view text) {
  const MoveInfo move = ParseMove(board_, text);  // only legal moves decode
  if (move.Empty()) {
    log_.Note("illegal", text);
    output_.PrintLine("Illegal move: " + std::string(text));
    return;
  }
  ApplyMove(move);
  if (analyzing_) {
    StartAnalysis();
  } else if (!force_ && board_.sideToMove == engineSide_) {
    StartSearch();
  }
}

void GameKeeper::ApplyMove(MoveInfo move) {
  board_.MakeMove(move, false);
  history_.push_back(move);
  if (history_.size() > kMaxHistory) history_.pop_front();
}

void GameKeeper::TakeBack(int count) {
  searching_ = false;
  for (; count > 0 && !history_.empty(); --count) {
    board_.UnmakeMove(history_.back());
    history_.pop_back();
  }
  if (analyzing_) StartAnalysis();
}

void GameKeeper::ResetBoard(const Board& board) {
  board_ = board;
  history_.clear();
  searching_ = false;
  if (analyzing_) StartAnalysis();
}

void GameKeeper::StartSearch() {
  searching_ = true;
  searchStart_ = Clock::now();
  moveAt_ =
      searchStart_ + std::chrono::milliseconds(Random(script_.minDelayMs, script_.maxDelayMs));
  wake_.notify_all();
}

void GameKeeper::StartAnalysis() {
  analysisDepth_ = 0;
  analysisStart_ = Clock::now();
  nextAnalysis_ = analysisStart_;
  wake_.notify_all();
}

void GameKeeper::SearchLoop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const Clock::time_point now = Clock::now();
    if (searching_ && now >= moveAt_) {
      PlayMove();
    } else if (analyzing_ && now >= nextAnalysis_) {
      PrintAnalysis();
      nextAnalysis_ = now + kAnalyzeInterval;
    } else if (searching_ || analyzing_) {
      Clock::time_point until = Clock::time_point::max();
      if (searching_) until = moveAt_;
      if (analyzing_) until = std::min(until, nextAnalysis_);
      wake_.wait_until(lock, until);
    } else {
      wake_.wait(lock);
    }
  }
}

void GameKeeper::PlayMove() {
  searching_ = false;
  MoveList moves;
  MoveGenerator::GenerateLegal(board_, moves);
  if (moves.count == 0) {
    const bool whiteToMove = board_.sideToMove == kWhite;
    if (!MoveGenerator::InCheck(board_, board_.sideToMove)) {
      output_.PrintLine("1/2-1/2 {Stalemate}");
    } else {
      output_.PrintLine(whiteToMove ? "0-1 {Black mates}" : "1-0 {White mates}");
    }
    return;
  }
  const MoveInfo move = moves.moves[Random(0, moves.count - 1)];
  output_.PrintLine(ThinkingLine(Random(1, 10), searchStart_, move));
  output_.PrintLine("move " + MoveText(board_, move));
  ApplyMove(move);
}

void GameKeeper::PrintAnalysis() {
  MoveList moves;
  MoveGenerator::GenerateLegal(board_, moves);
  if (moves.count == 0) return;
  output_.PrintLine(
      ThinkingLine(++analysisDepth_, analysisStart_, moves.moves[Random(0, moves.count - 1)]));
}

// "<depth> <score> <centiseconds> <nodes> <move> [<reply>]": the principal
// variation holds a random legal reply, so that ponder moves can be tested.
std::string GameKeeper::ThinkingLine(int depth, Clock::time_point since, const MoveInfo& move) {
  const auto centiseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count() / 10;
  std::string line = std::to_string(depth) + " " + std::to_string(Random(-100, 100)) + " " +
                     std::to_string(centiseconds) + " " +
                     std::to_string(depth * 1000 + Random(0, 999)) + " " + MoveText(board_, move);
  Board after = board_;
  MoveInfo made = move;
  after.MakeMove(made, false);
  MoveList replies;
  MoveGenerator::GenerateLegal(after, replies);
  if (replies.count > 0) {
    line += " " + MoveText(after, replies.moves[Random(0, replies.count - 1)]);
  }
  return line;
}

std::string GameKeeper::MoveText(const Board& board, const MoveInfo& move) const {
  if (script_.moveFormat == MoveFormat::kSan) return MoveToText(board, move, MoveTextStyle::kSan);
  return MoveToCoord(move);
}

int GameKeeper::Random(int minimum, int maximum) {
  return std::uniform_int_distribution<int>(minimum, maximum)(random_);
}

}  // namespace vantro::fake
