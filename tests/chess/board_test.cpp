#include "chess/board.h"

#include <gtest/gtest.h>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::Decoded;
using testing_chess::FromFen;
using testing_chess::kStartFen;
using testing_chess::Sq;

TEST(BoardFen, StartPositionReadsAndWritesBackWithClockAndMoveNumber) {
  const Board board = FromFen(kStartFen);
  EXPECT_EQ(board.Square(Sq("e1")), kWhiteKing);
  EXPECT_EQ(board.Square(Sq("d8")), kBlackQueen);
  EXPECT_EQ(board.Square(Sq("h7")), kBlackPawn);
  EXPECT_EQ(board.castling, kWhiteShort | kWhiteLong | kBlackShort | kBlackLong);
  EXPECT_EQ(board.enPassant, kNoSquare);
  EXPECT_EQ(board.sideToMove, kWhite);
  EXPECT_EQ(board.ToFEN(), std::string(kStartFen) + " 0 1");
}

struct FenCase {
  const char* input;
  const char* written;  // ToFEN of what was read
};

class BoardFenReading : public testing::TestWithParam<FenCase> {};

TEST_P(BoardFenReading, ReadsTolerantlyAndWritesTheNormalForm) {
  EXPECT_EQ(FromFen(GetParam().input).ToFEN(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BoardFenReading,
    testing::Values(
        FenCase{"", "8/8/8/8/8/8/8/8 w - - 0 1"},
        FenCase{"  \t 4k3/8/8/8/8/8/8/4K3 b - - 12 40", "4k3/8/8/8/8/8/8/4K3 b - - 0 1"},
        FenCase{"4k3/8/8/8/4P3/8/8/4K3 B KQkq e3", "4k3/8/8/8/4P3/8/8/4K3 b KQkq e3 0 1"},
        FenCase{"8/8/8/8/8/8/8/8 w qZkx", "8/8/8/8/8/8/8/8 w kq - 0 1"},
        FenCase{"8/8/8/8/8/8/8/8 w - e1", "8/8/8/8/8/8/8/8 w - - 0 1"},
        FenCase{"8/8/8/8/8/8/8/8 w - x6", "8/8/8/8/8/8/8/8 w - a6 0 1"},
        FenCase{"8/8/8/8/8/8/8/8 w - e", "8/8/8/8/8/8/8/8 w - - 0 1"},
        // '/' ends a started rank early; unknown characters are skipped.
        FenCase{"k/K/8/8/8/8/8/8", "k7/K7/8/8/8/8/8/8 w - - 0 1"},
        FenCase{"r3?9xk3/8", "r3k3/8/8/8/8/8/8/8 w - - 0 1"},
        // More than eight ranks: reading stops below rank 1.
        FenCase{"8/8/8/8/8/8/8/8/KKKK w", "8/8/8/8/8/8/8/8 w - - 0 1"},
        FenCase{"PPPPPPPPPPP", "PPPPPPPP/PPP5/8/8/8/8/8/8 w - - 0 1"}));

TEST(BoardCompare, ReportsTheFirstDifferenceAndIgnoresTheHalfmoveClock) {
  const Board base = FromFen("4k3/8/8/8/8/8/8/4K3 w K e3");
  Board other = base;
  other.halfmoveClock = 7;
  EXPECT_EQ(base.Compare(other), 0);
  other.sideToMove = kBlack;
  EXPECT_EQ(base.Compare(other), 4);
  other.enPassant = kNoSquare;
  EXPECT_EQ(base.Compare(other), 3);
  other.castling = 0;
  EXPECT_EQ(base.Compare(other), 2);
  other.SetSquare(Sq("a1"), kWhiteRook);
  EXPECT_EQ(base.Compare(other), 1);
}

TEST(BoardLetters, PieceFromLetterTakesTheColourOfTheSideToMove) {
  Board board;
  EXPECT_EQ(board.PieceFromLetter('N'), kWhiteKnight);
  EXPECT_EQ(board.PieceFromLetter('K'), kWhiteKing);
  EXPECT_EQ(board.PieceFromLetter('n'), kEmpty);
  EXPECT_EQ(board.PieceFromLetter('P'), kEmpty);
  board.sideToMove = kBlack;
  EXPECT_EQ(board.PieceFromLetter('Q'), kBlackQueen);
  EXPECT_EQ(Board::LetterFromPiece(kBlackBishop), 'B');
  EXPECT_EQ(Board::LetterFromPiece(kWhitePawn), ' ');
  EXPECT_EQ(Board::LetterFromPiece(kEmpty), ' ');
}

TEST(BoardSquares, OffBoardIndicesReadEmptyAndIgnoreWrites) {
  Board board;
  for (int square : {-1, 8, kNoSquare, 200, 1 << 20}) {
    board.SetSquare(square, kWhiteQueen);
    EXPECT_EQ(board.Square(square), kEmpty);
  }
  EXPECT_EQ(board.Compare(Board()), 0);
}

struct DoublePushCase {
  const char* fen;
  const char* move;
  int enPassant;
};

class BoardEnPassantSquare : public testing::TestWithParam<DoublePushCase> {};

TEST_P(BoardEnPassantSquare, IsSetOnlyWhenAnEnemyPawnStandsBesideTheDestination) {
  Board board = FromFen(GetParam().fen);
  MoveInfo move = Decoded(board, GetParam().move);
  ASSERT_TRUE(board.MakeMove(move, true));
  EXPECT_EQ(board.enPassant, GetParam().enPassant);
}

INSTANTIATE_TEST_SUITE_P(
    DoublePushes, BoardEnPassantSquare,
    testing::Values(DoublePushCase{kStartFen, "e2e4", kNoSquare},
                    DoublePushCase{"4k3/8/8/8/3p4/8/4P3/4K3 w - -", "e2e4", Sq("e3")},
                    DoublePushCase{"4k3/8/8/8/5p2/8/4P3/4K3 w - -", "e2e4", Sq("e3")},
                    DoublePushCase{"4k3/8/8/8/3P4/8/4P3/4K3 w - -", "e2e4", kNoSquare},
                    DoublePushCase{"4k3/8/8/8/2p5/8/4P3/4K3 w - -", "e2e4", kNoSquare},
                    DoublePushCase{"4k3/8/8/8/p7/7p/P7/4K3 w - -", "a2a4", kNoSquare},
                    DoublePushCase{"4k3/7p/8/P5P1/8/8/8/4K3 b - -", "h7h5", Sq("h6")},
                    DoublePushCase{"4k3/7p/8/8/8/8/8/4K3 w - h6", "e1e2", kNoSquare}));

TEST(BoardCastling, DecodedKingTwoFilesMovesTheRookAndClearsBothRights) {
  Board board = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  MoveInfo move = Decoded(board, "e1g1");
  EXPECT_EQ(move.flags, kFlagCastling);
  ASSERT_TRUE(board.MakeMove(move, true));
  EXPECT_EQ(board.ToFEN(), "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1");
  MoveInfo reply = Decoded(board, "e8c8");
  ASSERT_TRUE(board.MakeMove(reply, true));
  EXPECT_EQ(board.ToFEN(), "2kr3r/8/8/8/8/8/8/R4RK1 w - - 0 1");
}

TEST(BoardCastling, CastlingWithoutItsRookMovesOnlyTheKing) {
  Board board = FromFen("4k3/8/8/8/8/8/8/4K3 w KQ -");
  MoveInfo move = Decoded(board, "e1g1");
  ASSERT_TRUE(board.MakeMove(move, false));
  EXPECT_EQ(board.ToFEN(), "4k3/8/8/8/8/8/8/6K1 b - - 0 1");
  board.UnmakeMove(move);
  EXPECT_EQ(board.ToFEN(), "4k3/8/8/8/8/8/8/4K3 w KQ - 0 1");
}

struct RightsCase {
  const char* fen;
  const char* move;
  int castling;
};

class BoardCastlingRights : public testing::TestWithParam<RightsCase> {};

TEST_P(BoardCastlingRights, AreLostByKingMovesAndByAnyMoveFromOrToACorner) {
  Board board = FromFen(GetParam().fen);
  MoveInfo move = Decoded(board, GetParam().move);
  ASSERT_TRUE(board.MakeMove(move, true));
  EXPECT_EQ(board.castling, GetParam().castling);
}

constexpr const char* kCorners = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
INSTANTIATE_TEST_SUITE_P(
    Moves, BoardCastlingRights,
    testing::Values(RightsCase{kCorners, "e1e2", kBlackShort | kBlackLong},
                    RightsCase{kCorners, "a1a2", kWhiteShort | kBlackShort | kBlackLong},
                    RightsCase{kCorners, "h1h5", kWhiteLong | kBlackShort | kBlackLong},
                    RightsCase{kCorners, "a1a8", kWhiteShort | kBlackShort},
                    RightsCase{kCorners, "h1h8", kWhiteLong | kBlackLong},
                    RightsCase{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8d8",
                               kWhiteShort | kWhiteLong},
                    RightsCase{"r3k2r/8/8/8/8/8/6n1/R3K2R b KQkq -", "g2h4",
                               kWhiteShort | kWhiteLong | kBlackShort | kBlackLong}));

TEST(BoardEnPassant, DiagonalPawnMoveOntoEmptySquareCapturesTheBypassingPawn) {
  Board board = FromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  MoveInfo move = Decoded(board, "e5d6");
  EXPECT_EQ(move.flags, kFlagPawn | kFlagCapture | kFlagEnPassant);
  ASSERT_TRUE(board.MakeMove(move, true));
  EXPECT_EQ(board.ToFEN(), "4k3/8/3P4/8/8/8/8/4K3 b - - 0 1");
  board.UnmakeMove(move);
  EXPECT_EQ(board.ToFEN(), "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
}

struct PromotionCase {
  const char* fen;
  const char* move;
  int promotion;
  const char* after;
};

class BoardPromotion : public testing::TestWithParam<PromotionCase> {};

TEST_P(BoardPromotion, GivesThePawnsColourToTheNewPiece) {
  Board board = FromFen(GetParam().fen);
  MoveInfo move = Decoded(board, GetParam().move);
  EXPECT_EQ(move.promotion, GetParam().promotion);
  EXPECT_EQ((move.flags & kFlagPromotion) != 0, GetParam().promotion != kEmpty);
  ASSERT_TRUE(board.MakeMove(move, false));
  EXPECT_EQ(board.ToFEN(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, BoardPromotion,
    testing::Values(
        PromotionCase{"8/4p3/8/8/8/8/8/8 b - -", "e7e8q", kBlackQueen,
                      "4q3/8/8/8/8/8/8/8 w - - 0 1"},
        PromotionCase{"3r4/4P3/8/8/8/8/8/8 w - -", "e7d8N", kWhiteKnight,
                      "3N4/8/8/8/8/8/8/8 b - - 0 1"},
        PromotionCase{"8/8/8/8/8/8/1p6/8 b - -", "b2b1r", kBlackRook,
                      "8/8/8/8/8/8/8/1r6 w - - 0 1"},
        // A fifth character that names no piece, or a letter on a non-pawn
        // move, is ignored instead of making the piece vanish.
        PromotionCase{"8/8/8/8/8/8/4P3/8 w - -", "e2e4x", kEmpty, "8/8/8/8/4P3/8/8/8 b - - 0 1"},
        PromotionCase{"8/8/8/8/8/8/8/6N1 w - -", "g1f3q", kEmpty, "8/8/8/8/8/5N2/8/8 b - - 0 1"},
        PromotionCase{"8/4P3/8/8/8/8/8/8 w - -", "e7e8k", kEmpty, "4P3/8/8/8/8/8/8/8 b - - 0 1"}));

TEST(BoardDecode, RejectsTextThatIsNoCoordinateMoveOrStartsOnAnEmptySquare) {
  const Board board = FromFen(kStartFen);
  MoveInfo move;
  for (const char* text : {"", "e2", "e2e", "e9e4", "i2e4", "E2E4", "e2-e4", "e3e4", "Nf3"}) {
    EXPECT_FALSE(DecodeCoordMove(board, move, text)) << text;
  }
  EXPECT_TRUE(move.Empty());
}

TEST(BoardMakeMove, WithCheckRefusesIllegalMovesAndLeavesTheBoardAlone) {
  // The knight on e3 is pinned; the bishop on a6 covers e2 and f1.
  Board board = FromFen("4r1k1/8/b7/8/8/4N3/8/4K2R w K -");
  const Board before = board;
  for (const char* text : {"e3c4", "e1g1", "e1f1", "e1e2"}) {
    MoveInfo move = Decoded(board, text);
    EXPECT_FALSE(board.MakeMove(move, true)) << text;
    EXPECT_EQ(board.Compare(before), 0) << text;
  }
  MoveInfo kingStep = Decoded(board, "e1d2");
  EXPECT_TRUE(board.MakeMove(kingStep, true));
}

TEST(BoardMakeMove, RefusesEmptyOriginsOffBoardSquaresAndNullMovesEvenUnchecked) {
  Board board = FromFen(kStartFen);
  const Board before = board;
  MoveInfo empty;
  MoveInfo fromEmpty;
  fromEmpty.from = Sq("e4");
  fromEmpty.to = Sq("e5");
  MoveInfo offBoard;
  offBoard.from = Sq("e2");
  offBoard.to = kNoSquare;
  MoveInfo knightPromotes = Decoded(board, "g1f3");
  knightPromotes.flags |= kFlagPromotion;
  knightPromotes.promotion = kWhiteQueen;
  for (MoveInfo* move : {&empty, &fromEmpty, &offBoard, &knightPromotes}) {
    EXPECT_FALSE(board.MakeMove(*move, false));
  }
  EXPECT_EQ(board.Compare(before), 0);
}

TEST(BoardMakeMove, HalfmoveClockCountsQuietPieceMovesAndResetsOnPawnMovesAndCaptures) {
  Board board = FromFen(kStartFen);
  for (const char* text : {"g1f3", "b8c6", "f3g1"}) {
    MoveInfo move = Decoded(board, text);
    ASSERT_TRUE(board.MakeMove(move, true));
  }
  EXPECT_EQ(board.halfmoveClock, 3);
  MoveInfo push = Decoded(board, "e7e5");
  ASSERT_TRUE(board.MakeMove(push, true));
  EXPECT_EQ(board.halfmoveClock, 0);
  board.UnmakeMove(push);
  EXPECT_EQ(board.halfmoveClock, 3);
}

}  // namespace
}  // namespace vantro
