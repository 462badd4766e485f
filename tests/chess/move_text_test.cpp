#include "chess/move_text.h"

#include <gtest/gtest.h>

#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kStartFen;

constexpr const char* kCastleFen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
constexpr const char* kKnightsFen = "4k3/8/8/8/8/1N3N2/8/1N2K3 w - -";  // b1, b3, f3 reach d2
constexpr const char* kPromoteFen = "k7/4P3/8/8/8/8/8/4K3 w - -";
constexpr const char* kEnPassantFen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";

struct ParseCase {
  const char* fen;
  const char* text;
  const char* coord;  // "" for an empty result
  int status;
};

class ParseMoveText : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseMoveText, ResolvesTheTextAgainstTheLegalMoves) {
  const MoveInfo move = ParseMove(FromFen(GetParam().fen), GetParam().text);
  EXPECT_EQ(move.Empty() ? "" : MoveToCoord(move), GetParam().coord);
  EXPECT_EQ(move.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Notations, ParseMoveText,
                         testing::Values(ParseCase{kStartFen, "e4", "e2e4", 0},
                                         ParseCase{kStartFen, "e2e4", "e2e4", 0},
                                         ParseCase{kStartFen, "e2-e4", "e2e4", 0},
                                         ParseCase{kStartFen, "Nf3", "g1f3", 0},
                                         ParseCase{kStartFen, "g1f3", "g1f3", 0},
                                         ParseCase{kStartFen, "Ng1-f3", "g1f3", 0},
                                         ParseCase{kStartFen, "Nf3+!?", "g1f3", 0},
                                         ParseCase{kStartFen, "12. e4", "e2e4", 0},
                                         ParseCase{kStartFen, "1.Nc3", "b1c3", 0},
                                         ParseCase{kStartFen, "10. Nf3", "g1f3", 0},
                                         ParseCase{kStartFen, "20.e4", "e2e4", 0}));

INSTANTIATE_TEST_SUITE_P(
    Castling, ParseMoveText,
    testing::Values(
        ParseCase{kCastleFen, "O-O", "e1g1", 0}, ParseCase{kCastleFen, "0-0", "e1g1", 0},
        ParseCase{kCastleFen, "o-o", "e1g1", 0}, ParseCase{kCastleFen, "O-O+", "e1g1", 0},
        ParseCase{kCastleFen, "O-O-O", "e1c1", 0}, ParseCase{kCastleFen, "0-0-0", "e1c1", 0},
        ParseCase{kCastleFen, "o-o-o", "e1c1", 0}, ParseCase{kCastleFen, "15. O-O-O", "e1c1", 0},
        ParseCase{kCastleFen, "e1g1", "e1g1", 0},
        ParseCase{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "O-O", "e8g8", 0},
        ParseCase{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "0-0-0", "e8c8", 0},
        // A king step onto g1 is no castling.
        ParseCase{"4k3/8/8/8/8/8/8/5K2 w - -", "O-O", "", 2}));

INSTANTIATE_TEST_SUITE_P(
    Disambiguation, ParseMoveText,
    testing::Values(ParseCase{kKnightsFen, "Nd2", "", 2}, ParseCase{kKnightsFen, "Nfd2", "f3d2", 0},
                    ParseCase{kKnightsFen, "Nbd2", "", 2},
                    ParseCase{kKnightsFen, "N1d2", "b1d2", 0},
                    ParseCase{kKnightsFen, "Nb3d2", "b3d2", 0},
                    ParseCase{kKnightsFen, "b1d2", "b1d2", 0},
                    ParseCase{"r3k3/8/8/8/8/8/8/4K3 b - -", "Rd8", "a8d8", 0}));

INSTANTIATE_TEST_SUITE_P(
    PawnsAndPromotions, ParseMoveText,
    testing::Values(
        ParseCase{kPromoteFen, "e8", "e7e8q", 0}, ParseCase{kPromoteFen, "e8=Q+", "e7e8q", 0},
        ParseCase{kPromoteFen, "e8N", "e7e8n", 0}, ParseCase{kPromoteFen, "e7e8r", "e7e8r", 0},
        ParseCase{kPromoteFen, "e7e8", "e7e8q", 0}, ParseCase{kPromoteFen, "e8=K", "", 2},
        ParseCase{"8/8/8/8/8/8/p7/K6k b - -", "a1", "", 2},
        ParseCase{"8/8/8/8/8/8/p7/7k b - -", "a1", "a2a1q", 0},
        ParseCase{kEnPassantFen, "exd6", "e5d6", 0},
        ParseCase{kEnPassantFen, "exd6e.p.", "e5d6", 0},
        ParseCase{kEnPassantFen, "exd6 e.p.", "e5d6", 0},
        ParseCase{kEnPassantFen, "ed6", "e5d6", 0}, ParseCase{kEnPassantFen, "e5d6", "e5d6", 0},
        ParseCase{"4k3/8/8/2p1p3/3P4/8/8/4K3 w - -", "dxe5", "d4e5", 0},
        ParseCase{"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "xd5", "", 2}));

INSTANTIATE_TEST_SUITE_P(
    Failures, ParseMoveText,
    testing::Values(ParseCase{kStartFen, "", "", 1}, ParseCase{kStartFen, "x", "", 1},
                    ParseCase{kStartFen, "12.", "", 1}, ParseCase{kStartFen, "100.", "", 1},
                    ParseCase{kStartFen, "Nd", "", 1}, ParseCase{kStartFen, "++", "", 1},
                    ParseCase{kStartFen, "Nf4", "", 2}, ParseCase{kStartFen, "e5", "", 2},
                    ParseCase{kStartFen, "e3e4", "", 2}, ParseCase{kStartFen, "O-O", "", 2},
                    // The knight on e2 is pinned.
                    ParseCase{"4r1k1/8/8/8/8/8/4N3/4K3 w - -", "Nc3", "", 2}));

TEST(ParseMoveLength, ReadsNineteenCharactersAndCutsLongerTextToEighteen) {
  const Board board = FromFen(kStartFen);
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string(16, ' ') + "Nf3")), "g1f3");
  EXPECT_EQ(ParseMove(board, std::string(17, ' ') + "Nf3").status, kParseUnreadable);
  EXPECT_EQ(MoveToCoord(ParseMove(board, "Nf3" + std::string(500, '!'))), "g1f3");
}

TEST(ParseMoveLength, TextEndsAtAnEmbeddedNul) {
  const Board board = FromFen(kStartFen);
  EXPECT_EQ(MoveToCoord(ParseMove(board, std::string("Nf3\0e4", 6))), "g1f3");
  EXPECT_EQ(ParseMove(board, std::string("\0Nf3", 4)).status, kParseUnreadable);
}

TEST(ParseMoveResult, CarriesTheGeneratedFlags) {
  const MoveInfo ep = ParseMove(FromFen(kEnPassantFen), "exd6");
  EXPECT_EQ(ep.flags, kFlagPawn | kFlagCapture | kFlagEnPassant);
  const MoveInfo castle = ParseMove(FromFen(kCastleFen), "O-O-O");
  EXPECT_EQ(castle.flags, kFlagCastling);
  EXPECT_EQ(ParseMove(FromFen(kPromoteFen), "e8").promotion, kWhiteQueen);
}

struct TextCase {
  const char* fen;
  const char* coord;
  const char* sanEp;
  const char* san;
  const char* longForm;
};

class MoveToTextStyles : public testing::TestWithParam<TextCase> {};

TEST_P(MoveToTextStyles, WritesEachStyle) {
  const Board board = FromFen(GetParam().fen);
  const MoveInfo move = Decoded(board, GetParam().coord);
  EXPECT_EQ(MoveToText(board, move, MoveTextStyle::kSanEp), GetParam().sanEp);
  EXPECT_EQ(MoveToText(board, move, MoveTextStyle::kSan), GetParam().san);
  EXPECT_EQ(MoveToText(board, move, MoveTextStyle::kLong), GetParam().longForm);
  EXPECT_EQ(MoveToText(board, move, MoveTextStyle::kCoord), GetParam().coord);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveToTextStyles,
    testing::Values(TextCase{kStartFen, "e2e4", "e4", "e4", "e2-e4"},
                    TextCase{kStartFen, "g1f3", "Nf3", "Nf3", "Ng1-f3"},
                    TextCase{"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "exd5", "exd5", "e4xd5"},
                    TextCase{kEnPassantFen, "e5d6", "exd6 e.p.", "exd6", "e5xd6"},
                    TextCase{kPromoteFen, "e7e8q", "e8Q+", "e8=Q+", "e7-e8Q+"},
                    TextCase{"3r3k/4P3/8/8/8/8/8/4K3 w - -", "e7d8n", "exd8N", "exd8=N", "e7xd8N"},
                    TextCase{kKnightsFen, "f3d2", "Nfd2", "Nfd2", "Nf3-d2"},
                    TextCase{kKnightsFen, "b1d2", "N1d2", "N1d2", "Nb1-d2"},
                    // Three queens reach b2: neither file nor rank alone tells a1's.
                    TextCase{"4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -", "a1b2", "Qa1b2", "Qa1b2", "Qa1-b2"},
                    TextCase{"4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -", "c1b2", "Qcb2", "Qcb2", "Qc1-b2"},
                    TextCase{"4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -", "a3b2", "Q3b2", "Q3b2", "Qa3-b2"},
                    TextCase{"6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", "Ra8#", "Ra8#", "Ra1-a8#"},
                    TextCase{"4k3/8/8/8/8/8/8/4K3 w - -", "e1d2", "Kd2", "Kd2", "Ke1-d2"},
                    TextCase{kCastleFen, "e1c1", "O-O-O", "O-O-O", "O-O-O"},
                    TextCase{"5k2/8/8/8/8/8/8/4K2R w K -", "e1g1", "O-O+", "O-O+", "O-O+"},
                    TextCase{"4rkr1/4p1p1/8/8/8/8/8/4K2R w K -", "e1g1", "O-O#", "O-O#", "O-O#"}));

TEST(MoveToTextIllegal, GivesNoTextForAMoveThatIsNotLegal) {
  const Board board = FromFen(kStartFen);
  MoveInfo move = Decoded(board, "e2e5");
  for (MoveTextStyle style :
       {MoveTextStyle::kSanEp, MoveTextStyle::kSan, MoveTextStyle::kLong, MoveTextStyle::kCoord}) {
    EXPECT_EQ(MoveToText(board, move, style), "");
    EXPECT_EQ(MoveToText(board, MoveInfo(), style), "");
  }
}

// Every legal move written in every style reads back as the same move.
TEST(MoveToTextRoundTrip, EveryLegalMoveReadsBackFromItsText) {
  for (const char* fen :
       {kStartFen, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "4k3/8/8/8/8/Q7/8/Q1Q3K1 w - -",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq -",
        "1r2k3/2P5/8/8/5N1N/8/8/R3K2R w KQ -", kEnPassantFen}) {
    const Board board = FromFen(fen);
    MoveList legal;
    MoveGenerator::GenerateLegal(board, legal);
    for (int i = 0; i < legal.count; ++i) {
      const MoveInfo& move = legal.moves[i];
      for (MoveTextStyle style : {MoveTextStyle::kSanEp, MoveTextStyle::kSan, MoveTextStyle::kLong,
                                  MoveTextStyle::kCoord}) {
        const std::string text = MoveToText(board, move, style);
        const MoveInfo back = ParseMove(board, text);
        EXPECT_TRUE(back.SameMove(move)) << fen << " " << MoveToCoord(move) << " " << text;
      }
    }
  }
}

TEST(MoveToCoordText, WritesTheLowerCasePromotionLetterOnly) {
  MoveInfo move;
  move.from = testing_chess::Sq("e7");
  move.to = testing_chess::Sq("e8");
  EXPECT_EQ(MoveToCoord(move), "e7e8");
  move.flags = kFlagPromotion;
  move.promotion = kBlackKnight;
  EXPECT_EQ(MoveToCoord(move), "e7e8n");
  move.to = kNoSquare;
  EXPECT_EQ(MoveToCoord(move), "");
}

}  // namespace
}  // namespace vantro
