#include "engine/feature_pairs.h"

#include "base/text.h"

namespace vantro {

std::vector<FeaturePair> SplitFeatureLine(std::string_view line) {
  const std::vector<std::string_view> words = SplitWords(line);
  std::vector<FeaturePair> pairs;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string_view word = words[i];
    const std::size_t eq = word.find('=');
    if (eq == std::string_view::npos) continue;
    FeaturePair pair{std::string(Trim(word.substr(0, eq))), std::string(word.substr(eq + 1))};
    std::string& value = pair.value;
    if (!value.empty() && value.front() == '"' && (value.size() < 2 || value.back() != '"')) {
      while (i + 1 < words.size()) {
        const std::string_view next = words[++i];
        value += ' ';
        value += next;
        if (next.back() == '"') break;
      }
    }
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace vantro
