#include "rule_runner.h"

#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/text.h"

namespace vantro::fake {

void ExitEngine(EngineLog& log, int status) {
  log.Note("exit", std::to_string(status));
  ::_exit(status);
}

RuleRunner::RuleRunner(const Script& script, EngineLog& log, EngineOutput& output)
    : script_(script), log_(log), output_(output), fired_(script.rules.size(), false) {}

void RuleRunner::RunStart() {
  for (const Action& action : script_.startActions) Run(action, {});
}

bool RuleRunner::OnLine(std::string_view line) {
  const std::string_view word = GetWord(line, 1);
  bool matched = false;
  for (size_t i = 0; i < script_.rules.size(); ++i) {
    const Rule& rule = script_.rules[i];
    if (rule.word != "*" && rule.word != word) continue;
    matched = true;
    const bool firedBefore = fired_[i];
    fired_[i] = true;
    if (rule.action.once && firedBefore) continue;
    Run(rule.action, line);
  }
  return matched;
}

void RuleRunner::Run(const Action& action, std::string_view line) {
  switch (action.kind) {
    case Action::Kind::kPrint:
      output_.PrintLine(SubstituteWords(action.text, line));
      break;
    case Action::Kind::kPrintRaw:
      output_.Print(SubstituteWords(action.text, line));
      break;
    case Action::Kind::kStderr:
      output_.PrintError(SubstituteWords(action.text, line));
      break;
    case Action::Kind::kSleep:
      std::this_thread::sleep_for(std::chrono::milliseconds(action.number));
      break;
    case Action::Kind::kExit:
      ExitEngine(log_, action.number);
    case Action::Kind::kIgnore:
      break;
  }
}

}  // namespace vantro::fake
