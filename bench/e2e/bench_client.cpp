#include "bench_client.h"

#include <cctype>

#include "chess/move_generator.h"
#include "chess/move_text.h"

namespace vantro::bench {
namespace {

using namespace std::chrono_literals;

constexpr auto kAnswerLimit = 10s;
constexpr std::size_t kLongestGame = 100;  // plies before the client starts afresh
constexpr const char* kUciClock = "go wtime 60000 btime 60000\n";
constexpr const char* kXboardClock = "time 6000\notim 6000\n";

Board StartBoard() {
  Board b;
  b.SetFEN(kStartFen);
  return b;
}

bool HasMove(const Board& b) {
  MoveList moves;
  MoveGenerator::GenerateLegal(b, moves);
  return moves.count > 0;
}

bool BothHaveMaterial(const Board& b) {
  int pieces[2] = {0, 0};
  for (int sq = 0; sq < 128; ++sq) {
    int p = b.Square(sq);
    if (OnBoard(sq) && p != kEmpty) ++pieces[ColourOf(p)];
  }
  return pieces[0] > 2 && pieces[1] > 2;
}

}  // namespace

std::vector<std::string> RandomGame(int plies, unsigned seed) {
  for (;; ++seed) {
    std::mt19937 random(seed);
    Board b = StartBoard();
    std::vector<std::string> game;
    for (int i = 0; i < plies; ++i) {
      MoveList moves;
      MoveGenerator::GenerateLegal(b, moves);
      if (moves.count == 0) break;
      MoveInfo m = moves.moves[random() % static_cast<unsigned>(moves.count)];
      game.push_back(MoveToCoord(m));
      b.MakeMove(m, false);
    }
    if (static_cast<int>(game.size()) == plies && HasMove(b) && b.halfmoveClock < 60 &&
        BothHaveMaterial(b)) {
      return game;
    }
  }
}

BridgeClient::BridgeClient(const BridgeSetup& setup)
    : setup_(setup), process_(setup.argv, setup.workDir), board_(StartBoard()) {
  ready_ = process_.Running() && Handshake();
}

bool BridgeClient::Handshake() {
  if (!setup_.xboard) {
    return process_.Write("uci\n") && process_.ReadUntil("uciok", kAnswerLimit) &&
           process_.Write("isready\n") && process_.ReadUntil("readyok", kAnswerLimit);
  }
  if (!process_.Write("xboard\nprotover 2\n")) return false;
  while (auto line = process_.ReadLine(kAnswerLimit)) {
    if (line->find("usermove=1") != std::string::npos) usermove_ = true;
    if (line->find("done=1") != std::string::npos) return process_.Write("post\n");
  }
  return false;
}

std::string BridgeClient::Setup(const std::vector<std::string>& moves) const {
  std::string text;
  if (!setup_.xboard) {
    text = "position startpos";
    if (!moves.empty()) text += " moves";
    for (const std::string& m : moves) text += " " + m;
    return text + "\n" + kUciClock;
  }
  text = "new\n";
  if (!moves.empty()) text += "force\n";
  for (const std::string& m : moves) text += (usermove_ ? "usermove " : "") + m + "\n";
  return text + kXboardClock + "go\n";
}

std::optional<SearchResult> BridgeClient::Await(Clock::time_point sent) {
  SearchResult r;
  Clock::time_point firstLine{};
  const std::string_view movePrefix = setup_.xboard ? "move " : "bestmove";
  while (auto line = process_.ReadLine(kAnswerLimit)) {
    bool thinking = setup_.xboard
                        ? !line->empty() && std::isdigit(static_cast<unsigned char>((*line)[0]))
                        : line->starts_with("info") && line->find(" pv ") != std::string::npos;
    if (thinking && r.pvLines++ == 0) firstLine = process_.LastLineTime();
    if (!line->starts_with(movePrefix)) continue;
    Clock::time_point end = process_.LastLineTime();
    r.micros = std::chrono::duration<double, std::micro>(end - sent).count();
    if (r.pvLines > 0)
      r.lineSpanUs = std::chrono::duration<double, std::micro>(end - firstLine).count();
    std::size_t at = movePrefix.size() + (setup_.xboard ? 0 : 1);
    r.move = line->substr(at, line->find(' ', at) - at);
    return r;
  }
  return {};
}

std::optional<SearchResult> BridgeClient::FullSearch(const std::vector<std::string>& moves) {
  std::string text = Setup(moves);
  Clock::time_point sent = Clock::now();
  if (!process_.Write(text)) return {};
  return Await(sent);
}

bool BridgeClient::StartGame() {
  game_.clear();
  board_ = StartBoard();
  auto r = FullSearch({});
  if (!r) return false;
  MoveInfo m = ParseMove(board_, r->move);
  if (m.Empty()) return false;
  board_.MakeMove(m, false);
  game_.push_back(r->move);
  return true;
}

std::optional<SearchResult> BridgeClient::IncrementalSearch() {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if ((game_.empty() || game_.size() >= kLongestGame) && !StartGame()) return {};
    // The client's move leaves the engine a move of its own.
    MoveList moves;
    MoveGenerator::GenerateLegal(board_, moves);
    std::vector<MoveInfo> playable;
    for (int i = 0; i < moves.count; ++i) {
      Board after = board_;
      MoveInfo m = moves.moves[i];
      after.MakeMove(m, false);
      if (HasMove(after) && BothHaveMaterial(after)) playable.push_back(moves.moves[i]);
    }
    if (playable.empty()) {
      game_.clear();
      continue;
    }
    MoveInfo mine = playable[random_() % playable.size()];
    std::string text = MoveToCoord(mine);
    board_.MakeMove(mine, false);
    game_.push_back(text);
    std::string command =
        setup_.xboard ? std::string(kXboardClock) + (usermove_ ? "usermove " : "") + text + "\n"
                      : Setup(game_);
    Clock::time_point sent = Clock::now();
    if (!process_.Write(command)) return {};
    auto r = Await(sent);
    if (!r) return {};
    MoveInfo reply = ParseMove(board_, r->move);
    if (reply.Empty()) return {};
    board_.MakeMove(reply, false);
    game_.push_back(r->move);
    return r;
  }
  return {};
}

std::optional<SearchResult> BridgeClient::StopSearch() {
  if (!process_.Write(Setup({}))) return {};
  while (auto line = process_.ReadLine(kAnswerLimit)) {
    bool thinking = setup_.xboard
                        ? !line->empty() && std::isdigit(static_cast<unsigned char>((*line)[0]))
                        : line->find(" pv ") != std::string::npos;
    if (!thinking) continue;
    Clock::time_point sent = Clock::now();
    if (!process_.Write(setup_.xboard ? "?\n" : "stop\n")) return {};
    return Await(sent);
  }
  return {};
}

}  // namespace vantro::bench
