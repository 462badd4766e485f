#pragma once
#include <string>

#include "settings/settings.h"

namespace vantro::fuzz {

class NullActions : public SettingActions {
 public:
  void HashChanged() override {}
  void NoiseChanged() override {}
  void SlowDownChanged() override {}
  void PonderSet() override {}
  void ComputerSet(bool) override {}
  void ShowThinkingMoveChanging() override {}
  void ShowThinkingMoveSet(bool) override {}
  void LogFileSet(bool) override {}
  void OpenHelp() override {}
  void SetEngineOption(const std::string&, const std::string&) override {}
};

}  // namespace vantro::fuzz
