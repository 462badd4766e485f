// Text from a GUI or an engine can be anything; these cases feed the board
// random and degenerate input so the sanitizer builds can catch any read or
// write outside the input or the board, and any endless loop.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "chess_test_util.h"

namespace vantro {
namespace {

using testing_chess::FromFen;
using testing_chess::kAllStyles;
using testing_chess::kStartFen;

// `length` bytes from `alphabet`, or of any value when it is empty.
std::string RandomText(std::mt19937& rng, std::size_t length, std::string_view alphabet) {
  std::string text(length, '\0');
  for (char& c : text) {
    c = alphabet.empty() ? static_cast<char>(rng() & 0xff) : alphabet[rng() % alphabet.size()];
  }
  return text;
}

// Every legal move can be made, and unmaking it restores the board.
void ExpectMovesUndoExactly(const Board& board) {
  MoveList legal;
  MoveGenerator::GenerateLegal(board, legal);
  Board scratch = board;
  for (int i = 0; i < legal.count; ++i) {
    MoveInfo move = legal.moves[i];
    ASSERT_TRUE(scratch.MakeMove(move, true)) << board.ToFEN() << " " << MoveToCoord(move);
    scratch.UnmakeMove(move);
    ASSERT_EQ(scratch.Compare(board), 0) << board.ToFEN() << " " << MoveToCoord(move);
  }
}

TEST(HostileInput, RandomTextIntoEveryReaderStaysInBoundsAndTerminates) {
  std::mt19937 rng(20240611);
  const Board start = FromFen(kStartFen);
  for (int round = 0; round < 200; ++round) {
    const Board board = FromFen(
        RandomText(rng, rng() % 120, round % 2 ? "pnbrqkPNBRQK12345678/ -wbKQkqa-h0e3x\t" : ""));
    EXPECT_EQ(FromFen(board.ToFEN()).Compare(board), 0) << board.ToFEN();
    ExpectMovesUndoExactly(board);
    for (int i = 0; i < 20; ++i) {
      const std::string text =
          RandomText(rng, rng() % 30, i % 2 ? "abcdefgh12345678NBRQKOo0-x=+#.ep " : "");
      for (const Board* on : {&board, &start}) {
        const MoveInfo parsed = ParseMove(*on, text);
        EXPECT_EQ(parsed.status == kParseRead, !parsed.Empty());
        for (MoveTextStyle style : kAllStyles) {
          EXPECT_EQ(MoveToText(*on, parsed, style).empty(), parsed.Empty());
        }
        MoveInfo decoded;
        Board scratch = *on;
        if (DecodeCoordMove(*on, decoded, text) && scratch.MakeMove(decoded, false)) {
          scratch.UnmakeMove(decoded);
          EXPECT_EQ(scratch.Compare(*on), 0) << on->ToFEN() << " " << text;
        }
      }
    }
  }
}

TEST(HostileInput, VeryLongTruncatedOrNulFilledTextReadsAsFarAsItGoes) {
  for (char fill : {'/', '8', 'Q'}) {
    const std::string text(1 << 20, fill);
    const Board board = FromFen(text);
    MoveList list;
    MoveGenerator::GenerateLegal(board, list);
    EXPECT_TRUE(ParseMove(FromFen(kStartFen), text).Empty());
    MoveInfo move;
    EXPECT_FALSE(DecodeCoordMove(board, move, text));
  }
  EXPECT_EQ(FromFen(std::string(1 << 20, 'Q')).ToFEN(),
            "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ w - - 0 1");
  EXPECT_EQ(FromFen(std::string("4k3/8/8/8/8/8/8/4K3 b\0KQ", 25)).ToFEN(),
            "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(FromFen(std::string("\0rnbqkbnr", 9)).ToFEN(), "8/8/8/8/8/8/8/8 w - - 0 1");
  EXPECT_EQ(FromFen("rnbqk").ToFEN(), "rnbqk3/8/8/8/8/8/8/8 w - - 0 1");
  MoveInfo move;
  EXPECT_FALSE(DecodeCoordMove(FromFen(kStartFen), move, std::string("e2\0e4", 5)));
}

TEST(HostileInput, RandomMoveRecordsAreRefusedOrUndoneExactly) {
  std::mt19937 rng(7);
  const Board board = FromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq e3");
  for (int i = 0; i < 20000; ++i) {
    MoveInfo move;
    move.from = static_cast<int>(rng() % 160) - 16;
    move.to = static_cast<int>(rng() % 160) - 16;
    move.flags = static_cast<int>(rng() & 63);
    move.promotion = static_cast<int>(rng() % 15) - 1;
    Board scratch = board;
    const bool check = i % 2 == 0;
    const bool legal = MoveGenerator::IsLegal(scratch, move);
    if (scratch.MakeMove(move, check)) {
      EXPECT_TRUE(legal || !check);
      scratch.UnmakeMove(move);
    }
    EXPECT_EQ(scratch.Compare(board), 0) << MoveToCoord(move) << " flags " << move.flags;
  }
}

struct DegenerateCase {
  const char* fen;
  bool whiteInCheck;
};

class HostileBoards : public testing::TestWithParam<DegenerateCase> {};

TEST_P(HostileBoards, GenerateCheckAndUndoWithoutCrashing) {
  Board board = FromFen(GetParam().fen);
  EXPECT_EQ(MoveGenerator::InCheck(board, kWhite), GetParam().whiteInCheck);
  ExpectMovesUndoExactly(board);
  board.sideToMove ^= 1;
  ExpectMovesUndoExactly(board);
  const Board before = board;
  Perft(board, 3);
  EXPECT_EQ(board.Compare(before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fens, HostileBoards,
    testing::Values(DegenerateCase{"8/8/8/8/8/8/8/8 w KQkq e3", false},
                    DegenerateCase{"8/8/8/8/3q4/8/8/R7 w - -", false},
                    // Pawns on the last and first ranks must not step off the board.
                    DegenerateCase{"PPPPPPPP/pppppppp/8/8/8/8/PPPPPPPP/pppppppp w KQkq c6", false},
                    DegenerateCase{"KKKKKKKK/8/8/8/8/8/8/kkkkkkkk w KQkq -", false},
                    // With two kings, either one attacked is check.
                    DegenerateCase{"qk6/8/8/8/8/8/8/K6K w KQkq -", true},
                    DegenerateCase{"7k/8/8/8/1r6/8/8/K6K w - -", false},
                    DegenerateCase{"r3k2r/8/8/8/8/8/8/R3K2R w KQkq a1", false},
                    DegenerateCase{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq h8", false},
                    DegenerateCase{"pppppppp/8/8/8/8/8/8/PPPPPPPP b - a2", false}));

}  // namespace
}  // namespace vantro
