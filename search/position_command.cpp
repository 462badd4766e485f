#include "search/position_command.h"

#include <optional>

#include "base/text.h"
#include "chess/move_generator.h"
#include "chess/move_text.h"
#include "search/search_records.h"

namespace vantro {
namespace {

bool IsCastlingField(std::string_view w) {
  return !w.empty() && std::string_view("KQkq-").find(w[0]) != std::string_view::npos;
}

bool IsEnPassantField(std::string_view w) {
  return w == "-" || (w.size() >= 2 && w[0] >= 'a' && w[0] <= 'h' && (w[1] == '3' || w[1] == '6'));
}

bool IsNumber(std::string_view w) {
  return !w.empty() && w.find_first_not_of("0123456789") == std::string_view::npos;
}

// The generated move that the coordinate text names, when it is legal: the
// legality test of a decoded move alone would let a pawn step backwards.
std::optional<MoveInfo> LegalCoordMove(const Board& board, std::string_view text) {
  MoveInfo decoded;
  if (!DecodeCoordMove(board, decoded, text)) return std::nullopt;
  thread_local MoveList candidates;  // a fresh list costs more than the generation
  MoveGenerator::GeneratePseudoLegalFrom(board, decoded.from, candidates);
  for (int i = 0; i < candidates.count; ++i) {
    const MoveInfo& m = candidates.moves[i];
    if (m.SameMove(decoded)) {
      return MoveGenerator::IsLegal(board, m) ? std::optional(m) : std::nullopt;
    }
  }
  return std::nullopt;
}

// The move is made on `board` and added to `game` when it is legal.
bool AddMove(Board& board, GameRecord& game, std::string_view text) {
  std::optional<MoveInfo> move = LegalCoordMove(board, text);
  if (!move) return false;
  board.MakeMove(*move, false);
  game.moves.push_back(*move);
  return true;
}

struct ReadEnd {
  bool listed = false;  // a move list was read: every later word is a move
  Board board;          // the position after the moves
  std::string_view rejected;
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
            // The move clock judges fifty-move claims; the move number goes with it.
            for (int field = 0; field < 2 && IsNumber(word(n)); ++field) {
              fen += ' ';
              fen += word(n++);
            }
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
      // The GUI and the engine must agree on every position: the game ends
      // before the first move that is not legal.
      end.listed = true;
      end.board = game.start;
      for (; n < words.size(); ++n) {
        if (!AddMove(end.board, game, words[n])) {
          end.rejected = words[n];
          return end;
        }
      }
    }
  }
  return end;
}

}  // namespace

std::string_view ReadPositionCommand(std::string_view line, GameRecord& game) {
  return ReadWhole(line, game).rejected;
}

bool PositionReader::Resumes(std::string_view line, const GameRecord& game) const {
  return !line_.empty() && game.moves.size() == moves_ && line.starts_with(line_) &&
         (line.size() == line_.size() || kBlanks.find(line[line_.size()]) != kBlanks.npos);
}

std::string_view PositionReader::Read(std::string_view line, GameRecord& game) {
  if (!Resumes(line, game)) {
    ReadEnd end = ReadWhole(line, game);
    line_.assign(end.listed ? line : std::string_view{});
    board_ = end.board;
    moves_ = game.moves.size();
    rejectedAt_ =
        end.rejected.empty() ? 0 : static_cast<std::size_t>(end.rejected.data() - line.data());
    rejectedSize_ = end.rejected.size();
    return end.rejected;
  }
  std::size_t known = line_.size();
  line_.append(line.substr(known));
  // Past an illegal move nothing more is read, however long the list grows.
  if (rejectedSize_ == 0) {
    WordCursor words(line.substr(known));
    for (std::string_view w = words.Next(); !w.empty(); w = words.Next()) {
      if (!AddMove(board_, game, w)) {
        rejectedAt_ = static_cast<std::size_t>(w.data() - line.data());
        rejectedSize_ = w.size();
        break;
      }
    }
    moves_ = game.moves.size();
  }
  return line.substr(rejectedAt_, rejectedSize_);
}

void HandlePosition(SearchRecords& a, std::string_view line) {
  std::lock_guard lock(a.search.mutex);
  std::string_view rejected = a.search.positionReader.Read(line, a.search.guiGame);
  a.search.thinkingOutputEnabled = false;
  if (!rejected.empty()) {
    std::string text =
        "Illegal move " + std::string(rejected) + " in position; moves end before it";
    a.Log(text, kTagAdapter);
    a.SendToGui("info string " + text);
  }
}

}  // namespace vantro
