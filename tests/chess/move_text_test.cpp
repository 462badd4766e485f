#include "chess/move_text.h"

#include <gtest/gtest.h>

#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kAllStyles;
using testing_chess::kKiwipeteFen;
using testing_chess::kStartFen;

constexpr const char* kCastleFen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
constexpr const char* kBlackCastleFen = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
constexpr const char* kKnightsFen = "4k3/8/8/8/8/1N3N2/8/1N2K3 w - -";  // b1, b3, f3 reach d2
constexpr const char* kQueensFen = "4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -";     // a1, a3, c1 reach b2
constexpr const char* kPromoteFen = "k7/4P3/8/8/8/8/8/4K3 w - -";
constexpr const char* kBlackPromoteFen = "8/8/8/8/8/8/p7/7k b - -";
constexpr const char* kEnPassantFen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";

struct Parse {
  const char* fen;
  const char* text;
  const char* outcome;
};

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
  const Parse cases[] = {
      Parse{kStartFen, "e4", "e2e4"}, Parse{kStartFen, "Nf3+!?", "g1f3"},
      Parse{kStartFen, "12. e4", "e2e4"}, Parse{kStartFen, "1.Nc3", "b1c3"},
      Parse{kCastleFen, "0-0", "e1g1"}, Parse{kCastleFen, "o-o-o", "e1c1"},
      Parse{kCastleFen, "O-O+", "e1g1"}, Parse{kCastleFen, "15. O-O-O", "e1c1"},
      Parse{kBlackCastleFen, "0-0-0", "e8c8"}, Parse{kKnightsFen, "Nb3d2", "b3d2"},
      // Promotions default to a queen.
      Parse{kPromoteFen, "e8", "e7e8q"}, Parse{kPromoteFen, "e7e8", "e7e8q"},
      Parse{kPromoteFen, "e8N", "e7e8n"}, Parse{kBlackPromoteFen, "a1", "a2a1q"},
      Parse{kEnPassantFen, "exd6e.p.", "e5d6"}, Parse{kEnPassantFen, "ed6", "e5d6"},
      // Refusals: b1 and b3 share the b-file, a king step is no castling, a1 is
      // blocked and the knight on e2 is pinned.
      Parse{kStartFen, "", kUnreadable}, Parse{kStartFen, "x", kUnreadable},
      Parse{kStartFen, "12.", kUnreadable}, Parse{kStartFen, "Nd", kUnreadable},
      Parse{kStartFen, "++", kUnreadable}, Parse{kStartFen, "Nf4", kNone},
      Parse{kStartFen, "e5", kNone}, Parse{kStartFen, "e3e4", kNone},
      Parse{kStartFen, "O-O", kNone}, Parse{kPromoteFen, "e8=K", kNone},
      Parse{kKnightsFen, "Nd2", kNone}, Parse{kKnightsFen, "Nbd2", kNone},
      Parse{"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "xd5", kNone},
      Parse{"4k3/8/8/8/8/8/8/5K2 w - -", "O-O", kNone},
      Parse{"8/8/8/8/8/8/p7/K6k b - -", "a1", kNone},
      Parse{"4r1k1/8/8/8/8/8/4N3/4K3 w - -", "Nc3", kNone}};
  for (const Parse& c : cases) {
    EXPECT_EQ(Outcome(ParseMove(FromFen(c.fen), c.text)), c.outcome) << c.fen << " " << c.text;
  }
}

TEST(ParseMove, ReturnsTheGeneratedMoveWithItsFlagsAndTheMoversPromotionPiece) {
  EXPECT_EQ(ParseMove(FromFen(kEnPassantFen), "exd6").flags,
            kFlagPawn | kFlagCapture | kFlagEnPassant);
  EXPECT_EQ(ParseMove(FromFen(kBlackPromoteFen), "a1n").promotion, kBlackKnight);
}

TEST(ParseMove, ReadsNineteenCharactersCutsLongerTextToEighteenAndStopsAtNul) {
  const Board board = FromFen(kStartFen);
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string(16, ' ') + "Nf3")), "g1f3");
  EXPECT_EQ(Outcome(ParseMove(board, std::string(17, ' ') + "Nf3")), kUnreadable);
  EXPECT_EQ(MoveToCoord(ParseMove(board, "Nf3" + std::string(500, '!'))), "g1f3");
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string("Nf3\0e4", 6))), "g1f3");
  EXPECT_EQ(Outcome(ParseMove(board, std::string("\0Nf3", 4))), kUnreadable);
}

struct TextCase {
  const char* fen;
  const char* coord;
  const char* sanEp;
  const char* san;
  const char* longForm;
};

TEST(MoveToText, WritesEachStyleWithDisambiguationCheckAndMate) {
  const TextCase cases[] = {{kStartFen, "e2e4", "e4", "e4", "e2-e4"},
                            {kStartFen, "g1f3", "Nf3", "Nf3", "Ng1-f3"},
                            {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "exd5", "exd5", "e4xd5"},
                            {kEnPassantFen, "e5d6", "exd6 e.p.", "exd6", "e5xd6"},
                            {kPromoteFen, "e7e8q", "e8Q+", "e8=Q+", "e7-e8Q+"},
                            {"3r3k/4P3/8/8/8/8/8/4K3 w - -", "e7d8n", "exd8N", "exd8=N", "e7xd8N"},
                            {kKnightsFen, "f3d2", "Nfd2", "Nfd2", "Nf3-d2"},
                            {kKnightsFen, "b1d2", "N1d2", "N1d2", "Nb1-d2"},
                            // Neither the file nor the rank alone tells a1's queen from the others.
                            {kQueensFen, "a1b2", "Qa1b2", "Qa1b2", "Qa1-b2"},
                            {kQueensFen, "c1b2", "Qcb2", "Qcb2", "Qc1-b2"},
                            {kQueensFen, "a3b2", "Q3b2", "Q3b2", "Qa3-b2"},
                            {"6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", "Ra8#", "Ra8#", "Ra1-a8#"},
                            {"5k2/8/8/8/8/8/8/4K2R w K -", "e1g1", "O-O+", "O-O+", "O-O+"},
                            {"4rkr1/4p1p1/8/8/8/8/8/4K2R w K -", "e1g1", "O-O#", "O-O#", "O-O#"}};
  for (const TextCase& c : cases) {
    const Board board = FromFen(c.fen);
    const MoveInfo move = Decoded(board, c.coord);
    const std::string expected[] = {c.sanEp, c.san, c.longForm, c.coord};
    for (MoveTextStyle style : kAllStyles) {
      EXPECT_EQ(MoveToText(board, move, style), expected[static_cast<int>(style)]) << c.coord;
    }
  }
}

TEST(MoveToText, GivesNoTextForAMoveThatIsNotLegal) {
  const Board board = FromFen(kStartFen);
  for (MoveTextStyle style : kAllStyles) {
    EXPECT_EQ(MoveToText(board, Decoded(board, "e2e5"), style), "");
  }
}

TEST(MoveToText, EveryLegalMoveInEveryStyleReadsBackAsTheSameMove) {
  for (const char* fen : {kStartFen, kKiwipeteFen, kQueensFen, kEnPassantFen,
                          "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq -",
                          "1r2k3/2P5/8/8/5N1N/8/8/R3K2R w KQ -"}) {
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
