#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace vantro::test {

// Records every action that applying a setting sets in motion, one text per
// call, so that tests can compare the exact sequence. The show-thinking-move
// calls also record the flag stored at that moment: the status timer must be
// stopped before it changes and restarted after.
class RecordingActions : public SettingActions {
 public:
  explicit RecordingActions(const Settings& settings) : settings_(settings) {}
  void HashChanged() override { calls.push_back("HashChanged"); }
  void NoiseChanged() override { calls.push_back("NoiseChanged"); }
  void SlowDownChanged() override { calls.push_back("SlowDownChanged"); }
  void PonderSet() override { calls.push_back("PonderSet"); }
  void ComputerSet(bool on) override { calls.push_back("ComputerSet " + OnOff(on)); }
  void ShowThinkingMoveChanging() override {
    calls.push_back("ShowThinkingMoveChanging, stored " + OnOff(settings_.showThinkingMove));
  }
  void ShowThinkingMoveSet(bool on) override {
    calls.push_back("ShowThinkingMoveSet " + OnOff(on) + ", stored " +
                    OnOff(settings_.showThinkingMove));
  }
  void LogFileSet(bool on) override { calls.push_back("LogFileSet " + OnOff(on)); }
  void OpenHelp() override { calls.push_back("OpenHelp"); }
  void SetEngineOption(const std::string& name, const std::string& value) override {
    calls.push_back("SetEngineOption [" + name + "] [" + value + "]");
  }

  std::vector<std::string> calls;

 private:
  static std::string OnOff(bool on) { return on ? "on" : "off"; }
  const Settings& settings_;
};

}  // namespace vantro::test
