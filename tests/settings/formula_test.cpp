#include "settings/formula.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace vantro {
namespace {

using namespace std::string_literals;

TEST(FormulaEvaluatorTest, EvaluatesTheReferenceTable) {
  // clang-format off
  const std::pair<std::string, double> cases[] = {
      {"HASH=64;HASH*3/4", 48}, {"2-3-4", -5}, {"2*(3+4)", 14}, {"-2*3", -6}, {"--2", 2},
      {"(1+2", 0}, {"1,5", 5}, {" \t2 \r\v\f* 3 ", 6}, {".5*4", 2}, {"1.e2+1", 101}, {"x", 0},
      {"1e999;2", DBL_MAX},
      {"8/0*3", 3},     // division by zero gives 0 for the term and ends it
      {"1.2.5", 1.2},   // the second '.' starts a new number, which is left over
      {"(1+2))5", 5},   // a stray ")" is skipped: the next statement starts after it
      {"3\0007"s, 7},  // unknown characters and NUL bytes separate statements
      {"1e", 0},        // an incomplete exponent fails the number ...
      {"5+.;7", 5}};    // ... and the evaluation ends after that statement
  // clang-format on
  for (const auto& [text, expected] : cases) {
    EXPECT_DOUBLE_EQ(FormulaEvaluator().Evaluate(text), expected) << text;
  }
}

TEST(FormulaEvaluatorTest, HostileNestingGivesZeroWithoutExhaustingTheStack) {
  const int depth = FormulaEvaluator::kMaxDepth - 1;
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate(std::string(depth, '(') + "7" + std::string(depth, ')')), 7);
  EXPECT_EQ(evaluator.Evaluate(std::string(depth, '-') + "7"), depth % 2 ? -7 : 7);
  const int kCount = 100000;
  std::string chain;
  for (int i = 0; i < kCount; ++i) chain += "a=";
  for (std::string text :
       {std::string(kCount, '('), std::string(kCount, '-') + "5",
        std::string(kCount, '(') + "5" + std::string(kCount, ')'), chain + "1"}) {
    EXPECT_EQ(evaluator.Evaluate(text), 0.0) << text.substr(0, 10);
  }
  EXPECT_EQ(evaluator.Evaluate("2*3"), 6);  // still usable
}

}  // namespace
}  // namespace vantro
