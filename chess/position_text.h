#pragma once

#include <string>
#include <string_view>

namespace vantro {

// The engine commands that set up the start position `fen` in a set-up
// style: 0 "setboard <fen>", 1 edit mode, 2 edit mode with castling and
// en-passant lines. In the edit styles a position with black to move is
// reached by playing a2a3 (or "a3" for a SAN engine) after "new" and "force".
std::string BuildPositionText(int style, std::string_view fen, bool usermove, bool san);

}  // namespace vantro
