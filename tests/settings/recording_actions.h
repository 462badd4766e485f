#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace vantro::test {

// Records every action that applying a setting sets in motion, as one text
// per call, so that tests can compare the exact sequence.
class RecordingActions : public SettingActions {
 public:
  void HashChanged() override { calls.push_back("HashChanged"); }
  void NoiseChanged() override { calls.push_back("NoiseChanged"); }
  void SlowDownChanged() override { calls.push_back("SlowDownChanged"); }
  void PonderSet() override { calls.push_back("PonderSet"); }
  void ComputerSet(bool on) override { calls.push_back(on ? "ComputerSet on" : "ComputerSet off"); }
  void ShowThinkingMoveChanging() override { calls.push_back("ShowThinkingMoveChanging"); }
  void ShowThinkingMoveSet(bool on) override {
    calls.push_back(on ? "ShowThinkingMoveSet on" : "ShowThinkingMoveSet off");
  }
  void LogFileSet(bool on) override { calls.push_back(on ? "LogFileSet on" : "LogFileSet off"); }
  void OpenHelp() override { calls.push_back("OpenHelp"); }
  void SetEngineOption(const std::string& name, const std::string& value) override {
    calls.push_back("SetEngineOption [" + name + "] [" + value + "]");
  }

  std::vector<std::string> calls;
};

}  // namespace vantro::test
