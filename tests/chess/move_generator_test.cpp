#include "chess/move_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kStartFen;
using testing_chess::Sq;

std::vector<std::string> LegalCoords(const Board& board) {
  MoveList list;
  MoveGenerator::GenerateLegal(board, list);
  std::vector<std::string> coords;
  for (int i = 0; i < list.count; ++i) coords.push_back(MoveToCoord(list.moves[i]));
  return coords;
}

bool HasMove(const Board& board, const std::string& coord) {
  for (const std::string& c : LegalCoords(board)) {
    if (c == coord) return true;
  }
  return false;
}

struct PerftCase {
  const char* fen;
  int depth;
  std::uint64_t nodes;
};

class QuickPerft : public testing::TestWithParam<PerftCase> {};

TEST_P(QuickPerft, CountsTheKnownLeavesAndLeavesTheBoardAsItWas) {
  Board board = FromFen(GetParam().fen);
  const Board before = board;
  EXPECT_EQ(Perft(board, GetParam().depth), GetParam().nodes);
  EXPECT_EQ(board.Compare(before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    ShallowCounts, QuickPerft,
    testing::Values(
        PerftCase{kStartFen, 0, 1}, PerftCase{kStartFen, 3, 8902},
        PerftCase{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 2, 2039},
        PerftCase{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 3, 2812},
        PerftCase{"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        // The same position with colours swapped exercises black's castling.
        PerftCase{"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 9467},
        PerftCase{"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486}));

TEST(MoveGeneratorOrder, StartPositionListsKnightsBeforePawnsBeginningWithB1A3) {
  const std::vector<std::string> coords = LegalCoords(FromFen(kStartFen));
  ASSERT_EQ(coords.size(), 20u);
  const std::vector<std::string> first(coords.begin(), coords.begin() + 6);
  EXPECT_EQ(first, (std::vector<std::string>{"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "a2a4"}));
}

TEST(MoveGeneratorOrder, IllegalEntriesAreReplacedByTheLastEntry) {
  // The knight on b1 is pinned by the rook on a1; its three moves are
  // replaced, in turn, by the king's last three steps.
  const Board board = FromFen("k7/8/8/8/8/8/8/rN5K w - -");
  EXPECT_EQ(LegalCoords(board), (std::vector<std::string>{"h1h2", "h1g2", "h1g1"}));
}

TEST(MoveGeneratorOrder, PromotionsComeAsQueenRookBishopKnight) {
  const Board board = FromFen("8/P7/8/8/8/8/8/8 w - -");
  EXPECT_EQ(LegalCoords(board), (std::vector<std::string>{"a7a8q", "a7a8r", "a7a8b", "a7a8n"}));
}

TEST(MoveGeneratorAttacks, PawnsAttackDiagonallyForwardAndSlidersStopAtBlockers) {
  const Board board = FromFen("8/8/8/3p4/8/1R1P3q/8/8 w - -");
  EXPECT_TRUE(MoveGenerator::IsAttacked(board, Sq("c4"), kBlack));
  EXPECT_TRUE(MoveGenerator::IsAttacked(board, Sq("e4"), kBlack));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, Sq("d4"), kBlack));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, Sq("c6"), kBlack));
  EXPECT_TRUE(MoveGenerator::IsAttacked(board, Sq("e4"), kWhite));
  EXPECT_TRUE(MoveGenerator::IsAttacked(board, Sq("c3"), kWhite));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, Sq("e3"), kWhite));
  EXPECT_TRUE(MoveGenerator::IsAttacked(board, Sq("e3"), kBlack));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, Sq("c3"), kBlack));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, kNoSquare, kBlack));
  EXPECT_FALSE(MoveGenerator::IsAttacked(board, -17, kBlack));
}

struct CastlingCase {
  const char* fen;
  const char* move;
  bool legal;
};

class MoveGeneratorCastling : public testing::TestWithParam<CastlingCase> {};

TEST_P(MoveGeneratorCastling, NeedsRightKingRookEmptySquaresAndNoAttackOnTheKingsPath) {
  EXPECT_EQ(HasMove(FromFen(GetParam().fen), GetParam().move), GetParam().legal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveGeneratorCastling,
    testing::Values(CastlingCase{"4k3/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", true},
                    CastlingCase{"4k3/8/8/8/8/8/8/R3K2R w KQ -", "e1c1", true},
                    CastlingCase{"4k3/8/8/8/8/8/8/R3K2R w Q -", "e1g1", false},
                    CastlingCase{"4k3/8/8/8/8/8/8/RN2K2R w KQ -", "e1c1", false},
                    CastlingCase{"4r1k1/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", false},  // in check
                    CastlingCase{"5rk1/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", false},   // through
                    CastlingCase{"6rk/8/8/8/8/8/8/R3K2R w KQ -", "e1g1", false},    // into
                    CastlingCase{"1r4k1/8/8/8/8/8/8/R3K2R w KQ -", "e1c1", true},   // b1 may be hit
                    CastlingCase{"r3k2r/8/8/8/8/8/8/4K3 b kq -", "e8c8", true},
                    CastlingCase{"r3k2r/8/8/8/8/8/8/4K1Q1 b kq -", "e8g8", false}));

TEST(MoveGeneratorCastling, IsLegalRefusesCastlingOutOfThroughOrIntoCheckButNotOtherwise) {
  for (const char* fen : {"4r1k1/8/8/8/8/8/8/4K2R w K -", "5rk1/8/8/8/8/8/8/4K2R w K -",
                          "6rk/8/8/8/8/8/8/4K2R w K -"}) {
    const Board board = FromFen(fen);
    EXPECT_FALSE(MoveGenerator::IsLegal(board, Decoded(board, "e1g1"))) << fen;
  }
  // Geometry and rights are the generator's business, not the legality test's.
  const Board noRights = FromFen("k7/8/8/8/8/8/8/4K2R w - -");
  EXPECT_TRUE(MoveGenerator::IsLegal(noRights, Decoded(noRights, "e1g1")));
}

TEST(MoveGeneratorCastling, BogusRightsWithoutKingOrRookAtHomeGiveNoCastling) {
  EXPECT_FALSE(HasMove(FromFen("4k3/8/8/8/8/8/8/4K3 w KQ -"), "e1g1"));
  EXPECT_FALSE(HasMove(FromFen("4k3/8/8/8/8/8/8/3K3R w K -"), "d1f1"));
  EXPECT_FALSE(HasMove(FromFen("4k3/8/8/8/8/8/8/4K2r w K -"), "e1g1"));
}

TEST(MoveGeneratorEnPassant, CaptureThatUncoversTheKingOnTheRankIsDropped) {
  const Board board = FromFen("8/8/8/KPp4r/8/8/8/7k w - c6");
  EXPECT_FALSE(HasMove(board, "b5c6"));
  EXPECT_TRUE(HasMove(FromFen("8/8/8/1Pp4r/K7/8/8/7k w - c6"), "b5c6"));
}

TEST(MoveGeneratorEnPassant, NeedsTheBypassingPawnAndTheRightRank) {
  EXPECT_FALSE(HasMove(FromFen("k7/8/8/1P6/8/8/8/7K w - c6"), "b5c6"));
  EXPECT_FALSE(HasMove(FromFen("k7/8/8/8/8/8/1Pp5/7K w - c3"), "b2c3"));
}

TEST(MoveGeneratorKings, BoardsWithoutOrWithSeveralKingsAreSafe) {
  const Board noKing = FromFen("8/8/8/8/3q4/8/8/R7 w - -");
  EXPECT_FALSE(MoveGenerator::InCheck(noKing, kWhite));
  EXPECT_EQ(LegalCoords(noKing).size(), 14u);

  // Two white kings: the one on a1 is in check, so only its own moves out of
  // check are legal.
  const Board twoKings = FromFen("7k/8/8/8/r7/8/8/K6K w - -");
  EXPECT_TRUE(MoveGenerator::InCheck(twoKings, kWhite));
  EXPECT_FALSE(HasMove(twoKings, "h1g1"));
  EXPECT_FALSE(HasMove(twoKings, "a1a2"));
  EXPECT_TRUE(HasMove(twoKings, "a1b1"));
  EXPECT_FALSE(MoveGenerator::InCheck(FromFen("7k/8/8/8/1r6/8/8/K6K w - -"), kWhite));
}

TEST(MoveGeneratorPawns, PawnsOnTheirLastOrFirstRankStayOnTheBoard) {
  EXPECT_TRUE(LegalCoords(FromFen("P6P/8/8/8/8/8/8/7k w - -")).empty());
  EXPECT_TRUE(LegalCoords(FromFen("K7/8/8/8/8/8/8/p6p b - -")).empty());
  EXPECT_EQ(LegalCoords(FromFen("k7/8/8/8/8/8/8/P7 w - -")), (std::vector<std::string>{"a1a2"}));
}

TEST(MoveGeneratorCapacity, MoreThanCapacityMovesAreDroppedSilently) {
  // These queens and pawns to take have 258 pseudo-legal (and legal) moves.
  const Board board = FromFen("QQ4QQ/p1QQQ2Q/Q6Q/p1Q4Q/Q4Q1p/2Q4Q/Q3QQ2/pQQQ2QQ w - -");
  MoveList list;
  MoveGenerator::GeneratePseudoLegal(board, list);
  EXPECT_EQ(list.count, MoveList::kCapacity);
  MoveGenerator::GenerateLegal(board, list);
  EXPECT_EQ(list.count, MoveList::kCapacity);
}

}  // namespace
}  // namespace vantro
