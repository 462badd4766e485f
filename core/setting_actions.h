#pragma once

#include "settings/settings.h"

namespace vantro {

struct Adapter;

// Carries out what applying a setting sets in motion: commands to a running
// engine, the spin threads, the status timer, the log file, the help page,
// and engine-specific options.
class AdapterSettingActions : public SettingActions {
 public:
  explicit AdapterSettingActions(Adapter& adapter) : a_(adapter) {}

  void HashChanged() override;
  void NoiseChanged() override;
  void SlowDownChanged() override;
  void PonderSet() override;
  void ComputerSet(bool on) override;
  void ShowThinkingMoveChanging() override;
  void ShowThinkingMoveSet(bool on) override;
  void LogFileSet(bool on) override;
  void OpenHelp() override;
  void SetEngineOption(const std::string& name, const std::string& value) override;

 private:
  Adapter& a_;
};

}  // namespace vantro
