#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantro {

// How an engine writes "mate in N" as a number. A mate score is `constant`
// plus the distance (rising, the xboard protocol's own 100000 + N moves) or
// minus it (falling, most engines: a large constant minus the distance in
// plies); the engine's losing side is the same number negated. A constant of
// 0 turns the translation off.
struct MateConvention {
  int constant = 100000;
  bool falling = false;
  bool plies = false;
};

// Reads "100000+moves", "999999-plies", "30000 - plies" or "none"; nothing
// when the text is none of these.
std::optional<MateConvention> ParseMateConvention(std::string_view text);
// The text ParseMateConvention reads back to the same convention.
std::string MateConventionText(const MateConvention& convention);

// The UCI score of an engine score already turned to the mover's view:
// "mate N" (N in moves, negative when the mover is mated) when the score lies
// within the convention's range of plausible distances, else "cp <score>".
std::string UciScore(long long score, const MateConvention& convention);

// The longest mate that is still taken for one: beyond it a score is more
// likely an evaluation that merely comes close to the constant.
inline constexpr int kMaxMateMoves = 500;

}  // namespace vantro
