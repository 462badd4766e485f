#pragma once

#include <string_view>
#include <vector>

#include "engine_io.h"
#include "script.h"

namespace vantro::fake {

// Carries out a script's start actions and its "on" rules. Runs on one
// thread only (the fake's input dispatcher); an "exit" action ends the
// process from inside a call.
class RuleRunner {
 public:
  RuleRunner(const Script& script, EngineLog& log, EngineOutput& output);

  void RunStart();
  // Runs, in script order, every rule whose word is the line's first word or
  // "*". True when at least one rule matched.
  bool OnLine(std::string_view line);

 private:
  void Run(const Action& action, std::string_view line);

  const Script& script_;
  EngineLog& log_;
  EngineOutput& output_;
  std::vector<bool> fired_;  // per rule: has fired before, for "once"
};

// Notes the status in the log and ends the process at once, wherever the
// other threads are.
[[noreturn]] void ExitEngine(EngineLog& log, int status);

}  // namespace vantro::fake
