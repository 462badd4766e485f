#pragma once

#include <gmock/gmock.h>

#include <regex>
#include <string>

namespace vantro::test {

// The whole text matches the ECMAScript pattern: one regex dialect on every
// platform (GoogleTest's own on Windows knows no brackets).
MATCHER_P(FullyMatches, pattern, "matches " + ::testing::PrintToString(std::string(pattern))) {
  return std::regex_match(std::string(arg), std::regex(pattern));
}

}  // namespace vantro::test
