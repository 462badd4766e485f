#include "engine/option_commands.h"

#include <algorithm>
#include <thread>

#include "base/text.h"
#include "platform/text_file.h"
#include "settings/feature_option.h"

namespace vantro {

void DeliverEngineCommand(EngineLink& engine, std::string command) {
  if (engine.Running()) {
    engine.SendToEngine(command);
  } else {
    engine.pendingCommands.push_back(std::move(command));
  }
}

void ReadPreSetup(EngineLink& engine, Logger& log, std::string_view name) {
  if (name.empty()) return;
  std::string path(Trim(std::string(name) + ".txt"));
  TextFile file;
  if (!file.OpenForReading(path)) {
    log.Log("Failed to read pre setup from " + path, kTagPreSetup);
    return;
  }
  log.Log("Read pre setup from " + path, kTagPreSetup);
  std::string line;
  while (file.ReadLine(line)) {
    std::string_view command = Trim(line);
    if (command.empty() || command.front() == ';') continue;
    DeliverEngineCommand(engine, std::string(command));
  }
  file.Close();
}

void SetEngineOption(EngineLink& engine, Logger& log, const EngineOptionList& options,
                     const std::string& name, const std::string& value) {
  EngineOptionCommand command = BuildEngineOptionCommand(options, name, value);
  switch (command.kind) {
    case EngineOptionCommand::Kind::kNothing:
      break;
    case EngineOptionCommand::Kind::kSend:
      DeliverEngineCommand(engine, std::move(command.text));
      break;
    case EngineOptionCommand::Kind::kReadFile:
      ReadPreSetup(engine, log, command.text);
      break;
  }
}

void AdoptEngineOwnOptions(EngineLink& engine, Logger& log, EngineOptionList& options) {
  std::vector<std::string> announced = engine.TakeAnnouncedOptions();
  const bool smp = engine.smpFeature &&
                   std::none_of(options.begin(), options.end(),
                                [](const EngineOption& o) { return o.name == kCoresOptionName; });
  if (announced.empty() && !smp) return;
  const unsigned cores = std::thread::hardware_concurrency();
  OwnOptions own = CollectOwnOptions(announced, smp, cores == 0 ? 1 : cores, options);
  for (const std::string& note : own.notes) log.Log("Engine option left out, " + note, kTagAdapter);
  for (const FeatureOption& option : own.usable) {
    DeclareEngineOption(options, option.name, option.declaration);
  }
}

}  // namespace vantro
