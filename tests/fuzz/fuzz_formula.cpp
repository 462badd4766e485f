// The hash formula: any text evaluates, and any result fills a hash command.
#include "fuzz/fuzz_check.h"
#include "settings/engine_options.h"
#include "settings/formula.h"

using namespace vantro;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FormulaEvaluator formula;
  double value = formula.Evaluate(fuzz::AsText(data, size));
  long long hash =
      value == value && value < 1e18 && value > -1e18 ? static_cast<long long>(value) : 0;
  FormatInt("memory %i", hash);
  return 0;
}
