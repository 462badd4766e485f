#include "support/line_matcher.h"

namespace vantro::test {

LineMatcher StartsWith(std::string prefix) {
  std::string description = "a line starting with \"" + prefix + "\"";
  return {[prefix = std::move(prefix)](std::string_view line) { return line.starts_with(prefix); },
          std::move(description)};
}

LineMatcher Equals(std::string text) {
  std::string description = "the line \"" + text + "\"";
  return {[text = std::move(text)](std::string_view line) { return line == text; },
          std::move(description)};
}

LineMatcher Contains(std::string part) {
  std::string description = "a line containing \"" + part + "\"";
  return {[part = std::move(part)](std::string_view line) {
            return line.find(part) != std::string_view::npos;
          },
          std::move(description)};
}

}  // namespace vantro::test
