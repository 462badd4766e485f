#include "uci/option_setting.h"

#include "core/adapter.h"
#include "engine/presetup.h"
#include "settings/engine_options.h"
#include "uci/option_announcement.h"

namespace vantro {

void AnnounceOptions(Adapter& a) {
  for (const std::string& line : OptionLines(a.settings, a.engineOptions, a.log.IsFileOpen())) {
    a.SendToGui(line);
  }
}

void DeliverEngineCommand(Adapter& a, std::string command) {
  if (a.engine.Running()) {
    a.SendToEngine(command);
  } else {
    a.engine.pendingCommands.push_back(std::move(command));
  }
}

void SetEngineOption(Adapter& a, const std::string& name, const std::string& value) {
  EngineOptionCommand command = BuildEngineOptionCommand(a.engineOptions, name, value);
  switch (command.kind) {
    case EngineOptionCommand::Kind::kNothing:
      break;
    case EngineOptionCommand::Kind::kSend:
      DeliverEngineCommand(a, std::move(command.text));
      break;
    case EngineOptionCommand::Kind::kReadFile:
      ReadPreSetup(a, command.text);
      break;
  }
}

}  // namespace vantro
