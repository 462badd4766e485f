#include "core/setting_actions.h"

#include <filesystem>

#include "core/adapter.h"
#include "engine/engine_control.h"
#include "engine/option_commands.h"
#include "platform/process_env.h"

namespace vantro {
namespace {
constexpr std::uint32_t kStatusPollPeriodMs = 1000;
}

void AdapterSettingActions::HashChanged() {
  SendHashCommand(a_.engine, a_.settings, a_.formula);
}
void AdapterSettingActions::NoiseChanged() {
  SendPostMode(a_.engine, a_.settings);
}
void AdapterSettingActions::SlowDownChanged() {
  UpdateSpinThreads(a_.engine, a_.settings);
}
void AdapterSettingActions::PonderSet() {
  SendPonderMode(a_.engine, a_.settings);
}

void AdapterSettingActions::ComputerSet(bool on) {
  if (on && a_.engine.Running()) a_.SendToEngine("computer");
}

void AdapterSettingActions::ShowThinkingMoveChanging() {
  a_.statusPollTimer.Stop();
}

void AdapterSettingActions::ShowThinkingMoveSet(bool on) {
  a_.search.statusPoll = StatusPoll::kOff;
  if (on) a_.statusPollTimer.Start(kStatusPollPeriodMs, 0);
}

void AdapterSettingActions::LogFileSet(bool on) {
  a_.log.ApplyLogFile(on);
}

void AdapterSettingActions::OpenHelp() {
  OpenWithDesktop(kHelpPage);
}

void AdapterSettingActions::SetEngineOption(const std::string& name, const std::string& value) {
  vantro::SetEngineOption(a_.engine, a_.log, a_.engineOptions, name, value);
}

}  // namespace vantro
