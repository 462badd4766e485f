#include "search/thinking_output.h"

#include <climits>
#include <string>
#include <vector>

#include "base/text.h"
#include "chess/move_text.h"
#include "search/search_records.h"

namespace vantro {
namespace {

constexpr std::string_view kPvDelimiters = " \t\n\r\v\f;";
constexpr std::string_view kCurrentMoveDelimiters = "= ";
constexpr std::size_t kInfoReserve = 256;

bool StartsWithDigit(std::string_view w) {
  return !w.empty() && w[0] >= '0' && w[0] <= '9';
}

int ReportedDepth(int depth) {
  if (depth > 999) depth /= 1000;
  return depth <= 0 ? 1 : depth;
}

long long NodesPerSecond(long long nodes, long long timeMs) {
  double t = timeMs == 0 ? 1.0 : static_cast<double>(timeMs);
  double nps = static_cast<double>(nodes) * (1000.0 / t);
  if (nps >= 9.2e18) return 9200000000000000000LL;
  if (nps <= -9.2e18) return -9200000000000000000LL;
  return static_cast<long long>(nps);
}

bool Searching(SearchState state) {
  return state == SearchState::kThinking || state == SearchState::kAnalyzing;
}

void CheckDepthLimit(SearchRecords& a, int depth) {
  int limit = a.search.depthLimit;
  if (limit > 0 && a.search.state == SearchState::kThinking && depth > limit) {
    a.SendToEngine(a.settings.moveNow);
  }
}

// Appends " currmove <move>" for the move being searched, in the position the
// engine searches (after the reported ponder move while pondering); nothing
// while pondering on a move the GUI was never offered.
void AppendCurrentMove(SearchRecords& a, std::string& info, std::string_view text) {
  SearchContext& s = a.search;
  s.engineBoard = s.EnginePosition();
  if (!Searching(s.state)) {
    if (s.reportedPonderMove.Empty()) return;
    MoveInfo ponder = s.reportedPonderMove;
    s.engineBoard.MakeMove(ponder, true);
  }
  MoveInfo move = ParseMove(s.engineBoard, text);
  if (!move.Empty()) info += " currmove " + MoveToCoord(move);
}

}  // namespace

void TranslateThinkingLine(SearchRecords& a, std::string_view line) {
  SearchContext& s = a.search;
  std::string_view words[4];  // depth, score, time, nodes
  WordCursor cursor(line);
  for (std::string_view& w : words) w = cursor.Next();
  if (!StartsWithDigit(words[0]) || !StartsWithDigit(words[2]) || !StartsWithDigit(words[3])) {
    return;
  }
  char scoreStart = words[1][0];
  if (!StartsWithDigit(words[1]) && scoreStart != '-' && scoreStart != '+') return;

  if (s.state == SearchState::kIdle) s.SetState(SearchState::kPondering);
  SearchState state = s.state;
  s.engineBoard = s.EnginePosition();

  int depth = ReportedDepth(ParseInt(words[0]));
  s.lastDepth = depth;
  // One string grown in place: every thinking line passes here.
  std::string info;
  info.reserve(kInfoReserve);
  info.append("info depth ").append(std::to_string(depth));
  CheckDepthLimit(a, depth);

  int score = ParseInt(words[1]);
  if (a.settings.whiteScore) {
    bool blackToMove = s.engineBoard.sideToMove == kBlack;
    bool negate = Searching(state) ? blackToMove : s.hintMove.Empty() ? blackToMove : !blackToMove;
    // -INT_MIN does not exist: the lowest score turns into the highest.
    if (negate) score = score == INT_MIN ? INT_MAX : -score;
  }
  s.lastScore = score;
  info.append(" score ").append(UciScore(score, a.settings.MateScore()));

  long long time = static_cast<long long>(ParseInt(words[2])) * 10;
  long long nodes = ParseInt64(words[3]);
  info.append(" time ").append(std::to_string(time));
  info.append(" nodes ").append(std::to_string(nodes));
  info.append(" nps ").append(std::to_string(NodesPerSecond(nodes, time)));

  bool withPv =
      state == SearchState::kAnalyzing ||
      (depth >= a.settings.noise && (state == SearchState::kThinking || s.ponderMoveConfirmed));
  if (withPv) {
    WordCursor pv(line, kPvDelimiters);
    for (int header = 0; header < 4; ++header) pv.Next();
    int ply = 5;
    if (state == SearchState::kPondering && !s.hintMove.Empty()) {
      MoveInfo hint = s.hintMove;
      s.engineBoard.MakeMove(hint, true);
      ply = 6;
    }
    bool first = true;
    for (std::string_view w = pv.Next(); !w.empty(); w = pv.Next()) {
      MoveInfo move = ParseMove(s.engineBoard, w);
      if (move.Empty()) continue;  // move numbers, annotations, illegal words
      if (state != SearchState::kPondering) {
        if (ply == 5) {
          s.pvBestMove = move;
          s.pvBestText.assign(w);
          s.pvGameVersion = s.EngineGameVersion();
          s.pvPonderMove = MoveInfo{};  // an older line's reply predicts nothing here
        }
        if (ply == 6) s.pvPonderMove = move;
      }
      s.engineBoard.MakeMove(move, false);  // ParseMove gives legal moves only
      if (Searching(state) || ply > 5) {
        info.append(first ? " pv " : " ").append(MoveToCoord(move));
        first = false;
      }
      ++ply;
    }
  }
  a.SendToGui(info);
  StatusPoll armed = StatusPoll::kArmed;
  s.statusPoll.compare_exchange_strong(armed, StatusPoll::kActive);
}

void TranslateStatusLine(SearchRecords& a, std::string_view line) {
  std::vector<std::string_view> w = SplitWords(line);
  auto word = [&](std::size_t n) { return n <= w.size() ? w[n - 1] : std::string_view{}; };
  if (word(2).empty()) return;
  long long time = static_cast<long long>(ParseInt(word(2))) * 10;
  std::string info = "info time " + std::to_string(time);
  auto send = [&] { a.SendToGui(info); };
  if (word(3).empty()) return send();
  long long nodes = ParseInt64(word(3));
  info += " nodes " + std::to_string(nodes) + " nps " + std::to_string(NodesPerSecond(nodes, time));
  if (word(4).empty()) return send();
  int depth = ReportedDepth(ParseInt(word(4)));
  info += " depth " + std::to_string(depth);
  CheckDepthLimit(a, depth);
  if (word(5).empty() || word(6).empty()) return send();
  info += " currmovenumber " +
          std::to_string(static_cast<long long>(ParseInt(word(6))) - ParseInt(word(5)));
  if (word(7).empty()) return send();
  AppendCurrentMove(a, info, word(7));
  send();
}

void TranslateCurrentMoveLine(SearchRecords& a, std::string_view line) {
  std::vector<std::string_view> w = SplitWords(line, kCurrentMoveDelimiters);
  auto word = [&](std::size_t n) { return n <= w.size() ? w[n - 1] : std::string_view{}; };
  if (word(2).empty()) return;
  int depth = ParseInt(word(2));
  if (depth <= 0) depth = 1;
  // One string grown in place: every thinking line passes here.
  std::string info;
  info.reserve(kInfoReserve);
  info.append("info depth ").append(std::to_string(depth));
  CheckDepthLimit(a, depth);
  auto send = [&] { a.SendToGui(info); };
  if (word(3).empty()) return send();
  info += " currmovenumber " + std::to_string(static_cast<long long>(ParseInt(word(3))) + 2);
  if (word(5).empty()) return send();
  AppendCurrentMove(a, info, word(5));
  send();
}

}  // namespace vantro
