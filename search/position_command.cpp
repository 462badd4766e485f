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

// The move is made on `board` and, while there is room, added to `game`
// at `count`, when it decodes.
void AddMove(Board& board, GameRecord& game, int& count, std::string_view text) {
  MoveInfo move;
  if (!DecodeCoordMove(board, move, text)) return;
  if (board.MakeMove(move, false) && count < GameRecord::kMaxMoves) game.moves[count++] = move;
}

struct ReadEnd {
  bool listed = false;  // a move list was read: every later word is a move
  Board board;          // the position after the moves
  int count = 0;
};

ReadEnd ReadWhole(std::string_view line, GameRecord& game) {
  game.Clear();
  ReadEnd end;
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
      end.listed = true;
      end.board = game.start;
      for (; n < words.size(); ++n) AddMove(end.board, game, end.count, words[n]);
    }
  }
  return end;
}

}  // namespace

void ReadPositionCommand(std::string_view line, GameRecord& game) {
  ReadWhole(line, game);
}

bool PositionReader::Resumes(std::string_view line, const GameRecord& game) const {
  return !line_.empty() && game.Count() == moves_ && line.starts_with(line_) &&
         (line.size() == line_.size() || kBlanks.find(line[line_.size()]) != kBlanks.npos);
}

void PositionReader::Read(std::string_view line, GameRecord& game) {
  if (!Resumes(line, game)) {
    ReadEnd end = ReadWhole(line, game);
    line_.assign(end.listed ? line : std::string_view{});
    board_ = end.board;
    moves_ = end.count;
    return;
  }
  std::size_t known = line_.size();
  line_.append(line.substr(known));
  WordCursor words(line.substr(known));
  for (std::string_view w = words.Next(); !w.empty(); w = words.Next()) {
    AddMove(board_, game, moves_, w);
  }
}

void HandlePosition(SearchRecords& a, std::string_view line) {
  std::lock_guard lock(a.search.mutex);
  a.search.positionReader.Read(line, a.search.guiGame);
  a.search.thinkingOutputEnabled = false;
}

}  // namespace vantro
