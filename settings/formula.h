#pragma once

#include <map>
#include <string>
#include <string_view>

namespace vantro {

// A small calculator for the hash formula: statements separated by ';' or a
// line feed, + - * /, parentheses, unary minus, variables with (right
// associative) assignment. Variables persist across evaluations. Never
// fails: division by zero, a missing ')' or operand give 0.0 for that part,
// and nesting deeper than kMaxDepth gives 0.0 instead of exhausting the stack.
class FormulaEvaluator {
 public:
  double Evaluate(std::string_view text);
  static constexpr int kMaxDepth = 200;

 private:
  std::map<std::string, double> variables_;
};

}  // namespace vantro
