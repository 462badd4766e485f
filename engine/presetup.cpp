#include "engine/presetup.h"

#include "core/adapter.h"
#include "core/text.h"
#include "platform/text_file.h"
#include "uci/option_setting.h"

namespace vantro {

void ReadPreSetup(Adapter& a, std::string_view name) {
  if (name.empty()) return;
  std::string path = std::string(name) + ".txt";
  TextFile file;
  if (!file.OpenForReading(path)) {
    a.Log("Failed to read pre setup from " + path, kTagPreSetup);
    return;
  }
  a.Log("Read pre setup from " + path, kTagPreSetup);
  std::string line;
  while (file.ReadLine(line)) {
    std::string_view command = Trim(line);
    if (command.empty() || command.front() == ';') continue;
    DeliverEngineCommand(a, std::string(command));
  }
  file.Close();
}

}  // namespace vantro
