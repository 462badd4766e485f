// Definition files and the option declarations in them: whatever the file
// holds, every option line the GUI is shown stays one line, and setting any
// declared option builds its command.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/definition_file.h"
#include "tests/settings/recording_actions.h"
#include "uci/option_announcement.h"

using namespace vantro;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static const std::string path = "/tmp/vantro-fuzz-" + std::to_string(getpid()) + ".eng";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  Settings settings;
  EngineOptionList options;
  test::RecordingActions actions(settings);
  ReadDefinitionFile(path, settings, options, actions);
  for (const std::string& line : OptionLines(settings, options, false)) {
    Require(line.find_first_of("\n\r") == std::string::npos, "an option line holds a line break");
  }
  for (const EngineOption& option : options) {
    for (std::string_view value : {"7", "-1", "true", "0", "<empty>", "", "x %s %i %%"}) {
      BuildEngineOptionCommand(options, option.name, value);
    }
  }
  return 0;
}
