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

GoRequest With(void (*fill)(GoRequest&)) {
  GoRequest request;
  fill(request);
  return request;
}

template <std::size_t N>
void ExpectAll(const GoCase (&cases)[N]) {
  for (const GoCase& c : cases) EXPECT_EQ(ParseGo(c.line), c.expected) << "line: " << c.line;
}

TEST(ParseGo, FillsOnlyTheFieldsTheLineGives) {
  const GoCase cases[] = {
      {"go wtime 300000 btime 295000 winc 2000 binc 2000", With([](GoRequest& r) {
         r.wtime = 300000;
         r.btime = 295000;
         r.winc = 2000;
         r.binc = 2000;
       })},
      {"go movestogo 10 depth 6 movetime 5000", With([](GoRequest& r) {
         r.movestogo = 10;
         r.depth = 6;
         r.movetime = 5000;
       })},
      {"go infinite", With([](GoRequest& r) { r.infinite = true; })},
      {"go ponder wtime 50000 btime 50000", With([](GoRequest& r) {
         r.ponder = true;
         r.wtime = 50000;
         r.btime = 50000;
       })},
      {"go", GoRequest{}},
      {"", GoRequest{}},
      {"go\twtime   100 \t btime 200\r", With([](GoRequest& r) {
         r.wtime = 100;
         r.btime = 200;
       })},
      {"go depth 3 depth 5", With([](GoRequest& r) { r.depth = 5; })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, KeywordAtTheEndOfTheLineStoresZero) {
  const GoCase cases[] = {
      {"go movetime", With([](GoRequest& r) { r.movetime = 0; })},
      {"go depth", With([](GoRequest& r) { r.depth = 0; })},
      {"go wtime 5 btime", With([](GoRequest& r) {
         r.wtime = 5;
         r.btime = 0;
       })},
      {"go movestogo   ", With([](GoRequest& r) { r.movestogo = 0; })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, NumbersAreReadAsTheCLibraryReadsThem) {
  const GoCase cases[] = {
      {"go wtime -5000", With([](GoRequest& r) { r.wtime = -5000; })},
      {"go movestogo +7", With([](GoRequest& r) { r.movestogo = 7; })},
      {"go wtime 12abc", With([](GoRequest& r) { r.wtime = 12; })},
      {"go wtime abc btime 7", With([](GoRequest& r) {
         r.wtime = 0;
         r.btime = 7;
       })},
      {"go wtime 99999999999", With([](GoRequest& r) { r.wtime = INT_MAX; })},
      {"go btime -99999999999", With([](GoRequest& r) { r.btime = INT_MIN; })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, ValueWordIsConsumedEvenWhenItIsAKeyword) {
  const GoCase cases[] = {
      {"go wtime ponder", With([](GoRequest& r) { r.wtime = 0; })},
      {"go depth infinite movetime 9", With([](GoRequest& r) {
         r.depth = 0;
         r.movetime = 9;
       })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, NodesAndMateDiscardTheirValue) {
  const GoCase cases[] = {
      {"go nodes 100000 depth 8", With([](GoRequest& r) { r.depth = 8; })},
      {"go mate 3 movetime 100", With([](GoRequest& r) { r.movetime = 100; })},
      // The word after "nodes" is its value, even when it looks like a keyword.
      {"go nodes depth 8", GoRequest{}},
      {"go mate", GoRequest{}},
  };
  ExpectAll(cases);
}

TEST(ParseGo, UnknownAndWrongCaseWordsAreSkipped) {
  const GoCase cases[] = {
      {"go fast wtime 100 please", With([](GoRequest& r) { r.wtime = 100; })},
      {"go Wtime 100 INFINITE Ponder", GoRequest{}},
      {"go wtimex 100 depth 4", With([](GoRequest& r) { r.depth = 4; })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, SearchmovesStopsReading) {
  const GoCase cases[] = {
      {"go searchmoves e2e4 d2d4", With([](GoRequest& r) { r.searchmoves = true; })},
      {"go wtime 1000 searchmoves e2e4 btime 5 infinite", With([](GoRequest& r) {
         r.wtime = 1000;
         r.searchmoves = true;
       })},
      // As the value of a keyword it is just a number that reads as 0.
      {"go depth searchmoves", With([](GoRequest& r) { r.depth = 0; })},
  };
  ExpectAll(cases);
}

TEST(ParseGo, ReadsEveryWordOfAVeryLongLine) {
  std::string line = "go";
  for (int i = 0; i < 100000; ++i) line += " x";
  line += " depth 7";
  GoRequest expected;
  expected.depth = 7;
  EXPECT_EQ(ParseGo(line), expected);
}

}  // namespace
}  // namespace vantro
