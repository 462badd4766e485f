#include "settings/formula.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace vantro {

namespace {

enum Token : int {
  kName = 0,
  kNumber = 1,
  kEnd = 2,
  kPlus = '+',
  kMinus = '-',
  kMul = '*',
  kDiv = '/',
  kAssign = '=',
  kLeftParen = '(',
  kRightParen = ')',
  kPrint = ';',
};

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
// White space of the C locale, less the line feed, which separates statements.
bool IsSkippedSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// One evaluation: the text, the tokenizer state and the recursive descent.
// "failed" plays the part of a failed input stream: nothing more is read.
class Parser {
 public:
  Parser(std::string_view text, std::map<std::string, double>& variables, int maxDepth)
      : text_(text), variables_(variables), maxDepth_(maxDepth) {}

  double Run() {
    double result = 0.0;
    token_ = kPrint;
    while (!failed_) {
      NextToken();
      if (token_ == kEnd) break;
      if (token_ == kPrint) continue;
      result = Expression(false);
    }
    return result;
  }

 private:
  void NextToken() {
    char c = 0;
    do {
      if (failed_ || pos_ >= text_.size()) {
        token_ = kEnd;
        return;
      }
      c = text_[pos_++];
    } while (IsSkippedSpace(c));

    switch (c) {
      case '\0':
        token_ = kEnd;
        return;
      case ';':
      case '\n':
        token_ = kPrint;
        return;
      case '(':
      case ')':
      case '*':
      case '+':
      case '-':
      case '/':
      case '=':
        token_ = c;
        return;
      default:
        break;
    }
    if (IsDigit(c) || c == '.') {
      --pos_;
      ReadNumber();
      token_ = kNumber;
    } else if (IsAsciiLetter(c)) {
      const std::size_t start = pos_ - 1;
      while (pos_ < text_.size() && (IsAsciiLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
      name_.assign(text_.substr(start, pos_ - start));
      token_ = kName;
    } else {
      token_ = kPrint;
    }
  }

  // The formatted double extraction of a C-locale stream: digits, one '.'
  // before any exponent, one 'e'/'E' once a digit was seen, then an optional
  // sign and digits. What was gathered must convert as a whole, else the
  // stream fails with 0; an overflow fails with the largest double.
  void ReadNumber() {
    const std::size_t start = pos_;
    bool foundDot = false;
    bool foundExponent = false;
    bool foundDigit = false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '.' && !foundDot && !foundExponent) {
        foundDot = true;
      } else if (IsDigit(c)) {
        foundDigit = true;
      } else if ((c == 'e' || c == 'E') && !foundExponent && foundDigit) {
        foundExponent = true;
        if (pos_ + 1 < text_.size() && (text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-')) ++pos_;
      } else {
        break;
      }
      ++pos_;
    }
    const std::string_view gathered = text_.substr(start, pos_ - start);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(gathered.data(), gathered.data() + gathered.size(), value);
    if (end != gathered.data() + gathered.size()) {
      number_ = 0.0;
      failed_ = true;
    } else if (error == std::errc::result_out_of_range) {
      // from_chars does not say which way; underflow keeps the tiny value.
      const double approx = std::strtod(std::string(gathered).c_str(), nullptr);
      if (std::isinf(approx)) {
        number_ = DBL_MAX;
        failed_ = true;
      } else {
        number_ = approx;
      }
    } else {
      number_ = value;
    }
  }

  double Expression(bool readFirst) {
    double left = Term(readFirst);
    while (token_ == kPlus || token_ == kMinus) {
      const bool add = token_ == kPlus;
      const double right = Term(true);
      left = add ? left + right : left - right;
    }
    return left;
  }

  double Term(bool readFirst) {
    double left = Primary(readFirst);
    while (token_ == kMul || token_ == kDiv) {
      const bool multiply = token_ == kMul;
      const double right = Primary(true);
      if (multiply) {
        left *= right;
      } else if (right == 0.0) {
        return 0.0;
      } else {
        left /= right;
      }
    }
    return left;
  }

  double Primary(bool readFirst) {
    if (readFirst) NextToken();
    if (depth_ >= maxDepth_) {
      // Too deep for a hash formula: give up on the rest of the text.
      failed_ = true;
      token_ = kEnd;
      return 0.0;
    }
    ++depth_;
    const double value = PrimaryAt();
    --depth_;
    return value;
  }

  double PrimaryAt() {
    switch (token_) {
      case kNumber: {
        const double value = number_;
        NextToken();
        return value;
      }
      case kName: {
        double& slot = variables_[name_];
        NextToken();
        if (token_ == kAssign) slot = Expression(true);
        return slot;
      }
      case kMinus:
        return -Primary(true);
      case kLeftParen: {
        const double value = Expression(true);
        if (token_ != kRightParen) return 0.0;
        NextToken();
        return value;
      }
      default:
        return 0.0;
    }
  }

  std::string_view text_;
  std::map<std::string, double>& variables_;
  const int maxDepth_;
  std::size_t pos_ = 0;
  bool failed_ = false;
  int token_ = kPrint;
  double number_ = 0.0;
  std::string name_;
  int depth_ = 0;
};

}  // namespace

double FormulaEvaluator::Evaluate(std::string_view text) {
  return Parser(text, variables_, kMaxDepth).Run();
}

}  // namespace vantro
