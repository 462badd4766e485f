#include "settings/engine_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantro {
namespace {

// An option as "<type> [command] [default] [extra1] [extra2]", or "none".
std::string Declared(std::string_view declaration) {
  EngineOptionList options;
  DeclareEngineOption(options, "Key", declaration);
  if (options.size() != 1) return "none";
  const EngineOption& o = options[0];
  return std::to_string(static_cast<int>(o.type)) + " [" + o.command + "] [" + o.defaultText +
         "] [" + o.extra1 + "] [" + o.extra2 + "]";
}

TEST(DeclareEngineOptionTest, ReadsEachTypeAppendsTheMissingConversionAndDropsInvalidOnes) {
  const std::pair<std::string, std::string> cases[] = {
      {" x |spin| a | b | c |extra", "1 [ x  %i] [ a ] [ b ] [ c ]"},
      {"sd %d|spin|5|1|99", "1 [sd %d] [5] [1] [99]"},       // "%d" is a conversion too
      {"sd %%i|spin|5|1|99", "1 [sd %%i %i] [5] [1] [99]"},  // "%%i" is not
      {"st 5\\nsd 8|button", "2 [st 5\nsd 8] [] [] []"},
      {"learn|check|true|off|on", "3 [learn %s] [true] [off] [on]"},
      {"<readfile>|combo|none|none|b1", "4 [<readfile> %s] [none] [none|b1] []"},
      {"name|string", "5 [name %s] [<empty>] [] []"},
      {"cores|spin|1|8", "none"},          // a spin needs five fields
      {"resign %i|spin||-500|0", "none"},  // an empty field does not count
      {"sd|SPIN|1|1|99", "none"},          // the type word is lower case only
      {"learn|check|true", "none"},
      {"cmd|", "none"},
      {"cmd|slider|1", "none"},
  };
  for (const auto& [declaration, declared] : cases) {
    EXPECT_EQ(Declared(declaration), declared) << declaration;
  }
}

// The five types reach the engine in the end-to-end runs; these check that no
// text from a definition file or a GUI is read as a format.
TEST(BuildEngineOptionCommandTest, CopiesStrayConversionsAndValuesLiterally) {
  EngineOptionList options;
  for (auto [key, declaration] : {std::pair{"Name", "name %s %%|string"},
                                  {"Clear Hash", "new %s %%|button"},
                                  {"Depth", "sd %d|spin|5|1|99"},
                                  {"Book", "<readfile>|combo|none|none|book1"},
                                  {"EvilSpin", "%n%s %i %i %d%|spin|0|0|9"}}) {
    DeclareEngineOption(options, key, declaration);
  }
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"Name", "%s %n %%", "name %s %n %% %"},
      {"Name", std::string(1000, 'v'), "name " + std::string(1000, 'v') + " %"},
      {"Clear Hash", "x", "new %s %%"},
      {"EvilSpin", "7", "%n%s 7 %i %d%"},
      {"Depth", "7", "sd 7"},
      // A pre-setup file is only ever one the declaration offers.
      {"Book", "book1", "book1"},
      {"Book", "1", "book1"},
      {"Book", "../../x", ""},
      {"Book", "/etc/passwd", ""},
  };
  for (const auto& [name, value, outcome] : cases) {
    const EngineOptionCommand command = BuildEngineOptionCommand(options, name, value);
    EXPECT_EQ(command.text, outcome) << name << " " << value;
  }
}

}  // namespace
}  // namespace vantro
