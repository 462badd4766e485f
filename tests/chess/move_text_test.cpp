#include "chess/move_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kAllStyles;
using testing_chess::kKiwipeteFen;

constexpr const char* kCastleFen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
constexpr const char* kBlackCastleFen = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
constexpr const char* kKnightsFen = "4k3/8/8/8/8/1N3N2/8/1N2K3 w - -";  // b1, b3, f3 reach d2
constexpr const char* kQueensFen = "4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -";     // a1, a3, c1 reach b2
constexpr const char* kPromoteFen = "k7/4P3/8/8/8/8/8/4K3 w - -";
constexpr const char* kBlackPromoteFen = "8/8/8/8/8/8/p7/7k b - -";
constexpr const char* kEnPassantFen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";

constexpr const char* kNone = "no unique move";
constexpr const char* kUnreadable = "unreadable";

// The coordinates of the parsed move, or why there is none.
std::string Outcome(const MoveInfo& move) {
  if (move.status == kParseUnreadable) return kUnreadable;
  if (move.status == kParseNoUniqueMove) return kNone;
  return MoveToCoord(move);
}

TEST(ParseMove, ResolvesEachNotationAgainstTheLegalMovesOrSaysWhyNot) {
  // Notations MoveToText writes are checked by the round trip below; these are
  // the ones only GUIs and engines write, and the refusals.
  // clang-format off
  const std::array<const char*, 3> cases[] = {
      {kStartFen, "Nf3+!?", "g1f3"}, {kStartFen, "12. e4", "e2e4"}, {kCastleFen, "0-0", "e1g1"},
      {kCastleFen, "o-o-o", "e1c1"}, {kBlackCastleFen, "0-0-0", "e8c8"},
      {kKnightsFen, "Nb3d2", "b3d2"}, {kEnPassantFen, "exd6e.p.", "e5d6"},
      {kEnPassantFen, "ed6", "e5d6"},
      {kPromoteFen, "e7e8", "e7e8q"}, {kBlackPromoteFen, "a1", "a2a1q"},  // a queen by default
      // Refusals: b1 and b3 share the b-file, a king step is no castling, a1 is
      // blocked and the knight on e2 is pinned.
      {kStartFen, "", kUnreadable}, {kStartFen, "12.", kUnreadable}, {kStartFen, "Nd", kUnreadable},
      {kStartFen, "e5", kNone}, {kStartFen, "e3e4", kNone}, {kPromoteFen, "e8=K", kNone},
      {kKnightsFen, "Nd2", kNone}, {kKnightsFen, "Nbd2", kNone},
      {"4k3/8/8/8/8/8/8/5K2 w - -", "O-O", kNone}, {"8/8/8/8/8/8/p7/K6k b - -", "a1", kNone},
      {"4r1k1/8/8/8/8/8/4N3/4K3 w - -", "Nc3", kNone}};
  // clang-format on
  for (auto [fen, text, outcome] : cases) {
    EXPECT_EQ(Outcome(ParseMove(FromFen(fen), text)), outcome) << fen << " " << text;
  }
}

TEST(ParseMove, ReadsNineteenCharactersCutsLongerTextToEighteenAndStopsAtNul) {
  const Board board = FromFen(kStartFen);
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string(16, ' ') + "Nf3")), "g1f3");
  EXPECT_EQ(Outcome(ParseMove(board, std::string(17, ' ') + "Nf3")), kUnreadable);
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string("Nf3\0e4", 6))), "g1f3");
  EXPECT_EQ(Outcome(ParseMove(board, std::string("\0Nf3", 4))), kUnreadable);
}

TEST(MoveToText, WritesEachStyleWithDisambiguationCheckAndMate) {
  // Each row: position, coordinates, then the SAN with "e.p.", SAN and long forms.
  const std::array<const char*, 5> cases[] = {
      {kStartFen, "e2e4", "e4", "e4", "e2-e4"},
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "exd5", "exd5", "e4xd5"},
      {kEnPassantFen, "e5d6", "exd6 e.p.", "exd6", "e5xd6"},
      {kPromoteFen, "e7e8q", "e8Q+", "e8=Q+", "e7-e8Q+"},
      {"3r3k/4P3/8/8/8/8/8/4K3 w - -", "e7d8n", "exd8N", "exd8=N", "e7xd8N"},
      {kKnightsFen, "f3d2", "Nfd2", "Nfd2", "Nf3-d2"},
      // Neither the file nor the rank alone tells a1's queen from the others.
      {kQueensFen, "a1b2", "Qa1b2", "Qa1b2", "Qa1-b2"},
      {kQueensFen, "c1b2", "Qcb2", "Qcb2", "Qc1-b2"},
      {kQueensFen, "a3b2", "Q3b2", "Q3b2", "Qa3-b2"},
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", "Ra8#", "Ra8#", "Ra1-a8#"},
      {"4rkr1/4p1p1/8/8/8/8/8/4K2R w K -", "e1g1", "O-O#", "O-O#", "O-O#"}};
  for (auto [fen, coord, sanEp, san, longForm] : cases) {
    const Board board = FromFen(fen);
    const MoveInfo move = Decoded(board, coord);
    const std::string expected[] = {sanEp, san, longForm, coord};
    for (MoveTextStyle style : kAllStyles) {
      EXPECT_EQ(MoveToText(board, move, style), expected[static_cast<int>(style)]) << coord;
    }
  }
}

TEST(MoveToText, EveryLegalMoveInEveryStyleReadsBackAsTheSameMove) {
  for (const char* fen : {kStartFen, kKiwipeteFen, kQueensFen, kEnPassantFen,
                          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq -",
                          "1r2k3/2P5/8/8/5N1N/8/8/R3K2R w KQ -", "4k1k1/8/8/8/8/8/8/4K3 b - -"}) {
    const Board board = FromFen(fen);
    MoveList legal;
    MoveGenerator::GenerateLegal(board, legal);
    for (int i = 0; i < legal.count; ++i) {
      for (MoveTextStyle style : kAllStyles) {
        const std::string text = MoveToText(board, legal.moves[i], style);
        EXPECT_TRUE(ParseMove(board, text).SameMove(legal.moves[i])) << fen << " " << text;
      }
    }
  }
}

}  // namespace
}  // namespace vantro
