#include "settings/mate_score.h"

#include <cstdlib>
#include <limits>

#include "base/text.h"

namespace vantro {

std::optional<MateConvention> ParseMateConvention(std::string_view text) {
  std::string compact;
  for (char c : text) {
    if (c != ' ' && c != '\t') compact += c;
  }
  compact = ToUpper(compact);
  if (compact == "NONE" || compact == "OFF") return MateConvention{0, false, false};

  std::size_t digits = 0;
  while (digits < compact.size() && compact[digits] >= '0' && compact[digits] <= '9') ++digits;
  // Nine digits keep the constant and every distance added to it within an int.
  if (digits == 0 || digits > 9 || digits == compact.size()) return std::nullopt;
  const char sign = compact[digits];
  if (sign != '+' && sign != '-') return std::nullopt;
  const std::string unit = compact.substr(digits + 1);
  MateConvention convention;
  convention.constant = std::atoi(compact.substr(0, digits).c_str());
  convention.falling = sign == '-';
  if (unit == "PLIES" || unit == "PLY") {
    convention.plies = true;
  } else if (unit != "MOVES" && unit != "MOVE") {
    return std::nullopt;
  }
  if (convention.constant == 0) return std::nullopt;
  return convention;
}

std::string MateConventionText(const MateConvention& convention) {
  if (convention.constant == 0) return "none";
  return std::to_string(convention.constant) + (convention.falling ? "-" : "+") +
         (convention.plies ? "plies" : "moves");
}

std::string UciScore(long long score, const MateConvention& convention) {
  const long long magnitude = score < 0 ? -score : score;
  if (convention.constant > 0) {
    const long long distance =
        convention.falling ? convention.constant - magnitude : magnitude - convention.constant;
    const long long longest = convention.plies ? 2LL * kMaxMateMoves : kMaxMateMoves;
    if (distance >= 1 && distance <= longest) {
      // A mate in N moves takes 2N-1 plies, being mated in N takes 2N.
      const long long moves = convention.plies ? (distance + 1) / 2 : distance;
      return "mate " + std::to_string(score < 0 ? -moves : moves);
    }
  }
  return "cp " + std::to_string(score);
}

}  // namespace vantro
