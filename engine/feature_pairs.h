#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantro {

// One name=value pair of an engine "feature" line. A value that starts with a
// double quote may span several words (joined by single blanks) up to the
// word that ends with one; it keeps its quotes.
struct FeaturePair {
  std::string name;
  std::string value;
};

// The pairs of a "feature" line in order, the word "feature" skipped; a word
// without "=" names no feature and is left out.
std::vector<FeaturePair> SplitFeatureLine(std::string_view line);

// `value` without one pair of enclosing double quotes.
std::string_view Unquote(std::string_view value);

}  // namespace vantro
