#include "search/go_request.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

namespace vantro {

void PrintTo(const GoRequest& r, std::ostream* os) {
  *os << "{wtime " << r.wtime << ", btime " << r.btime << ", winc " << r.winc << ", binc " << r.binc
      << ", movestogo " << r.movestogo << ", depth " << r.depth << ", movetime " << r.movetime
      << ", ponder " << r.ponder << ", infinite " << r.infinite << ", searchmoves " << r.searchmoves
      << "}";
}

namespace {

struct GoCase {
  const char* line;
  GoRequest expected;
};

TEST(ParseGo, ReadsEachKeywordAndItsValueAndSkipsWhatItDoesNotKnow) {
  const GoCase cases[] = {
      {"go wtime 300000 btime 295000 winc 2000 binc 2000",
       {.wtime = 300000, .btime = 295000, .winc = 2000, .binc = 2000}},
      {"go movestogo 10 depth 6 movetime 5000", {.movestogo = 10, .depth = 6, .movetime = 5000}},
      {"go ponder infinite", {.ponder = true, .infinite = true}},
      {"", {}},
      {"go\twtime   100 \t btime 200\r", {.wtime = 100, .btime = 200}},
      {"go depth 3 depth 5", {.depth = 5}},
      // A keyword at the end of the line stores 0.
      {"go wtime 5 movestogo   ", {.wtime = 5, .movestogo = 0}},
      // Numbers read as the C library reads them, clamped to int.
      {"go wtime -5000 movestogo +7 depth 12abc", {.wtime = -5000, .movestogo = 7, .depth = 12}},
      {"go wtime abc btime 7", {.wtime = 0, .btime = 7}},
      {"go wtime 99999999999 btime -99999999999", {.wtime = INT_MAX, .btime = INT_MIN}},
      // The value word is taken even when it is a keyword.
      {"go wtime ponder depth infinite movetime 9", {.wtime = 0, .depth = 0, .movetime = 9}},
      {"go nodes 100000 mate 3 depth 8", {.depth = 8}},
      {"go nodes depth 8", {}},
      {"go mate", {}},
      {"go fast Wtime 100 INFINITE Ponder wtimex 100 depth 4 please", {.depth = 4}},
      // searchmoves ends the line, except as a keyword's value.
      {"go wtime 1000 searchmoves e2e4 btime 5 infinite", {.wtime = 1000, .searchmoves = true}},
      {"go depth searchmoves", {.depth = 0}},
  };
  for (const GoCase& c : cases) EXPECT_EQ(ParseGo(c.line), c.expected) << c.line;
}

TEST(ParseGo, ReadsEveryWordOfAVeryLongLine) {
  std::string line = "go";
  for (int i = 0; i < 100000; ++i) line += " x";
  EXPECT_EQ(ParseGo(line + " depth 7"), GoRequest{.depth = 7});
}

}  // namespace
}  // namespace vantro
