#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace vantro::test {

// A test on one line of output, with a description for failure messages.
// Any predicate on std::string_view converts to it.
class LineMatcher {
 public:
  template <typename Predicate>
  requires std::predicate<const Predicate&, std::string_view> LineMatcher(
      Predicate predicate, std::string description = "a line matching a predicate")
      : predicate_(std::move(predicate)), description_(std::move(description)) {}

  bool operator()(std::string_view line) const { return predicate_(line); }
  const std::string& Description() const { return description_; }

 private:
  std::function<bool(std::string_view)> predicate_;
  std::string description_;
};

LineMatcher StartsWith(std::string prefix);
LineMatcher Equals(std::string text);
LineMatcher Contains(std::string part);

}  // namespace vantro::test
