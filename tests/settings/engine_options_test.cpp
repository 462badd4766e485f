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

// The five types and hostile templates reach the engine in the end-to-end
// runs; these check that no value from a GUI is read as a format, and which
// pre-setup files a GUI may name.
TEST(BuildEngineOptionCommandTest, CopiesValuesLiterallyAndOffersOnlyDeclaredFiles) {
  EngineOptionList options;
  DeclareEngineOption(options, "Name", "name %s %%|string");
  DeclareEngineOption(options, "Book", "<readfile>|combo|none|none|book1");
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"Name", "%s %n %%", "name %s %n %% %"},
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
