#include "search/go_request.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

namespace vantro {
namespace {

TEST(ParseGo, ReadsEachKeywordAndItsValueAndSkipsWhatItDoesNotKnow) {
  const std::pair<const char*, GoRequest> cases[] = {
      {"go wtime 300000 btime 295000 winc 2000 binc 2000",
       {.wtime = 300000, .btime = 295000, .winc = 2000, .binc = 2000}},
      {"go ponder infinite", {.ponder = true, .infinite = true}},
      {"go\twtime   100 \t btime 200\r", {.wtime = 100, .btime = 200}},
      {"go wtime 5 movestogo   ", {.wtime = 5, .movestogo = 0}},  // 0 at the end of the line
      // Numbers read as the C library reads them, clamped to int.
      {"go wtime -5000 movestogo +7 depth 12abc", {.wtime = -5000, .movestogo = 7, .depth = 12}},
      {"go wtime 99999999999 btime -99999999999", {.wtime = INT_MAX, .btime = INT_MIN}},
      // The value word is taken even when it is a keyword.
      {"go wtime ponder depth infinite movetime 9", {.wtime = 0, .depth = 0, .movetime = 9}},
      {"go fast Wtime 100 INFINITE Ponder wtimex 100 depth 4 please", {.depth = 4}},
      // searchmoves ends the line, except as a keyword's value.
      {"go wtime 1000 searchmoves e2e4 btime 5 infinite", {.wtime = 1000, .searchmoves = true}},
  };
  for (const auto& [line, request] : cases) EXPECT_EQ(ParseGo(line), request) << line;
}

}  // namespace
}  // namespace vantro
