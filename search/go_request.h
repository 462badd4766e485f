#pragma once

#include <string_view>

namespace vantro {

// The parameters of one UCI "go"; -1 means "not given". Times in milliseconds.
struct GoRequest {
  int wtime = -1;
  int btime = -1;
  int winc = -1;
  int binc = -1;
  int movestogo = -1;
  int depth = -1;
  int movetime = -1;
  bool ponder = false;
  bool infinite = false;
  bool searchmoves = false;  // reading stopped at "searchmoves"

  bool operator==(const GoRequest&) const = default;
};

// Reads a "go" line (word 1 is "go"). A keyword without a value stores 0;
// "nodes" and "mate" consume and discard their value.
GoRequest ParseGo(std::string_view line);

}  // namespace vantro
