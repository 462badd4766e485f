#include "search/position_command.h"

#include "base/text.h"
#include "chess/move_text.h"
#include "search/search_records.h"

namespace vantro {
namespace {

bool IsCastlingField(std::string_view w) {
  return !w.empty() && std::string_view("KQkq-").find(w[0]) != std::string_view::npos;
}

bool IsEnPassantField(std::string_view w) {
  return w.size() >= 2 && w[0] >= 'a' && w[0] <= 'h' && (w[1] == '3' || w[1] == '6');
}

}  // namespace

void ReadPositionCommand(std::string_view line, GameRecord& game) {
  game.Clear();
  std::vector<std::string_view> words = SplitWords(line);
  auto word = [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view{}; };
  std::size_t n = 2;  // index of the word after the current one
  for (std::string_view w = word(1); !w.empty(); w = word(n++)) {
    if (w == "fen") {
      std::string fen(word(n++));
      std::string_view side = word(n);
      if (side == "w" || side == "b") {
        fen += ' ';
        fen += side;
        ++n;
        if (std::string_view castling = word(n); IsCastlingField(castling)) {
          fen += ' ';
          fen += castling;
          ++n;
          if (std::string_view ep = word(n); IsEnPassantField(ep)) {
            fen += ' ';
            fen += ep;
            ++n;
          }
        }
      }
      game.start.SetFEN(fen);
    } else if (w == "startpos") {
      static const Board standard = [] {  // parsed once: most positions start here
        Board b;
        b.SetFEN(kStartFen);
        return b;
      }();
      game.start = standard;
    } else if (w == "moves") {
      Board scratch = game.start;
      int count = 0;
      for (; n < words.size(); ++n) {
        MoveInfo move;
        if (!DecodeCoordMove(scratch, move, words[n])) continue;
        if (scratch.MakeMove(move, false) && count < GameRecord::kMaxMoves) {
          game.moves[count++] = move;
        }
      }
    }
  }
}

void HandlePosition(SearchRecords& a, std::string_view line) {
  std::lock_guard lock(a.search.mutex);
  ReadPositionCommand(line, a.search.guiGame);
  a.search.thinkingOutputEnabled = false;
}

}  // namespace vantro
