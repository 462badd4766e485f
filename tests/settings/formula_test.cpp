#include "settings/formula.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace vantro {
namespace {

TEST(FormulaEvaluatorTest, EvaluatesTheReferenceTable) {
  const std::pair<std::string, double> cases[] = {
      {"50*4", 200},
      {"HASH=64;", 64},
      {"HASH=64;HASH/2", 32},
      {"HASH=64;HASH*3/4", 48},
      {"2-3-4", -5},
      {"2*(3+4)", 14},
      {"-2*3", -6},
      {"--2", 2},
      {"8/0", 0},
      {"1+8/0", 1},
      {"(1+2", 0},
      {"1;2;3", 3},
      {"1,5", 5},
      {"1\n2", 2},
      {" \t2 \r\v\f* 3 ", 6},
      {"2.5*2", 5},
      {".5*4", 2},
      {"1e3", 1000},
      {"1.e2+1", 101},
      {"1.2.5", 1.2},  // the second '.' starts a new number, which is left over
      {"1 2", 1},      // a left-over token is skipped
      {"(1+2))5", 5},  // ... and so is a stray ")": the next statement starts after it
      {"8/0*3", 3},    // division by zero ends the term before the '*'
      {"2%3", 3},      // unknown characters separate statements
      {"", 0},
      {";;\n;", 0},
      {"x", 0},
      {"+", 0},
      {"1+", 1},
      {"1e", 0},     // an incomplete exponent fails the number ...
      {"4;.", 0},    // ... and so does a lone full stop
      {"5+.;7", 5},  // the evaluation ends after the statement with the failure
      {"1e999;2", DBL_MAX},
      {std::string("3\0"
                   "7",
                   3),
       7},
  };
  for (const auto& [text, expected] : cases) {
    FormulaEvaluator evaluator;
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(text), expected) << text;
  }
}

TEST(FormulaEvaluatorTest, AssignmentIsRightAssociativeAndVariablesPersist) {
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate("a=b=3;a+b"), 6);
  EXPECT_EQ(evaluator.Evaluate("a"), 3);
  EXPECT_EQ(evaluator.Evaluate("b*a2"), 0);  // a2 is a name of its own
}

TEST(FormulaEvaluatorTest, NamesAreCaseSensitive) {
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate("HASH=64;hash"), 0);
  EXPECT_EQ(evaluator.Evaluate("HASH"), 64);
}

TEST(FormulaEvaluatorTest, UnassignedNamesReadAsZeroAndStayDefined) {
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate("HASH=64;x"), 0);
  EXPECT_EQ(evaluator.Evaluate("x+HASH"), 64);
}

TEST(FormulaEvaluatorTest, HashFormulaAsTheEngineStartBuildsIt) {
  FormulaEvaluator evaluator;
  EXPECT_EQ(static_cast<int>(evaluator.Evaluate("HASH=128;HASH*3/4+0.9")), 96);
  EXPECT_EQ(static_cast<int>(evaluator.Evaluate("HASH=5;-HASH/2")), -2);
}

TEST(FormulaEvaluatorTest, NestingWithinTheLimitIsEvaluated) {
  const int depth = FormulaEvaluator::kMaxDepth - 1;
  FormulaEvaluator evaluator;
  EXPECT_EQ(evaluator.Evaluate(std::string(depth, '(') + "7" + std::string(depth, ')')), 7);
  EXPECT_EQ(evaluator.Evaluate(std::string(depth, '-') + "7"), depth % 2 ? -7 : 7);
}

TEST(FormulaEvaluatorTest, HostileNestingGivesZeroWithoutExhaustingTheStack) {
  FormulaEvaluator evaluator;
  const int kCount = 100000;
  EXPECT_EQ(evaluator.Evaluate(std::string(kCount, '(')), 0.0);
  EXPECT_EQ(evaluator.Evaluate(std::string(kCount, '-')), 0.0);
  EXPECT_EQ(evaluator.Evaluate(std::string(kCount, '(') + "5" + std::string(kCount, ')')), 0.0);
  EXPECT_EQ(evaluator.Evaluate(std::string(kCount, '-') + "5"), 0.0);
  std::string chain;
  for (int i = 0; i < kCount; ++i) chain += "a=";
  EXPECT_EQ(evaluator.Evaluate(chain + "1"), 0.0);
  // The evaluator stays usable.
  EXPECT_EQ(evaluator.Evaluate("2*3"), 6);
}

}  // namespace
}  // namespace vantro
