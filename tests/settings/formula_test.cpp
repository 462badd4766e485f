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
      {"50*4", 200}, {"HASH=64;HASH*3/4", 48}, {"2-3-4", -5}, {"2*(3+4)", 14}, {"-2*3", -6},
      {"--2", 2}, {"(1+2", 0}, {"1;2;3", 3}, {"1,5", 5}, {"1\n2", 2}, {" \t2 \r\v\f* 3 ", 6},
      {".5*4", 2}, {"1.e2+1", 101}, {";;\n;", 0}, {"x", 0}, {"1+", 1}, {"1e999;2", DBL_MAX},
      {"1+8/0", 1},     // division by zero gives 0 for the term
      {"8/0*3", 3},     // ... and ends it before the '*'
      {"1.2.5", 1.2},   // the second '.' starts a new number, which is left over
      {"1 2", 1},       // a left-over token is skipped
      {"(1+2))5", 5},   // ... and so is a stray ")": the next statement starts after it
      {"2%3", 3},       // unknown characters separate statements
      {"3\0007"s, 7},  // ... and so does a NUL byte
      {"1e", 0},        // an incomplete exponent fails the number ...
      {"4;.", 0},       // ... and so does a lone full stop
      {"5+.;7", 5}};    // the evaluation ends after the statement with the failure
  // clang-format on
  for (const auto& [text, expected] : cases) {
    EXPECT_DOUBLE_EQ(FormulaEvaluator().Evaluate(text), expected) << text;
  }
}

TEST(FormulaEvaluatorTest, VariablesPersistMatchCaseAndReadAsZeroUntilAssigned) {
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate("a=b=3;a+b"), 6);  // assignment is right associative
  EXPECT_EQ(evaluator.Evaluate("HASH=128;HASH*3/4+a"), 99);
  EXPECT_EQ(evaluator.Evaluate("hash+a2"), 0);  // names match case; a2 is a name of its own
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
