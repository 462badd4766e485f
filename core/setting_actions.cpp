#include "core/setting_actions.h"

#include <filesystem>

#include "core/adapter.h"
#include "engine/engine_control.h"
#include "engine/option_commands.h"
#include "platform/process_env.h"

namespace vantro {
namespace {

constexpr std::uint32_t kStatusPollPeriodMs = 1000;
// Where the install puts the page, seen from the program's own directory.
constexpr const char* kInstalledHelpPage = "../share/doc/vantro/Vantro.html";

// The page in the working directory, else the copy installed with the
// program, else the one beside it; the working directory's name when none
// exists, so the desktop reports what is missing.
std::string HelpPage() {
  std::error_code error;
  if (std::filesystem::exists(kHelpPage, error)) return kHelpPage;
  const std::string programDir = ExecutableDirectory();
  if (programDir.empty()) return kHelpPage;
  for (const std::string& candidate : {programDir + kInstalledHelpPage, programDir + kHelpPage}) {
    std::filesystem::path page = std::filesystem::path(candidate).lexically_normal();
    if (std::filesystem::exists(page, error)) return page.string();
  }
  return kHelpPage;
}

}  // namespace

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
  OpenWithDesktop(HelpPage());
}

void AdapterSettingActions::SetEngineOption(const std::string& name, const std::string& value) {
  vantro::SetEngineOption(a_.engine, a_.log, a_.engineOptions, name, value);
}

}  // namespace vantro
