#include "settings/engine_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantro {
namespace {

using Kind = EngineOptionCommand::Kind;
using Type = EngineOptionType;

// An option as "<type> [command] [default] [extra1] [extra2]", or "none".
std::string Declared(std::string_view declaration) {
  EngineOptionList options;
  DeclareEngineOption(options, "Key", declaration);
  if (options.size() != 1) return "none";
  const EngineOption& o = options[0];
  return std::to_string(static_cast<int>(o.type)) + " [" + o.command + "] [" + o.defaultText +
         "] [" + o.extra1 + "] [" + o.extra2 + "]";
}

TEST(DeclareEngineOptionTest, ReadsEachTypeAndAppendsTheMissingConversion) {
  const std::pair<std::string, std::string> cases[] = {
      {"cores|spin|1|1|8", "1 [cores %i] [1] [1] [8]"},
      {" x |spin| a | b | c |extra", "1 [ x  %i] [ a ] [ b ] [ c ]"},
      {"new|button", "2 [new] [] [] []"},
      {"st 5\\nsd 8|button", "2 [st 5\nsd 8] [] [] []"},
      {"learn|check|true|off|on", "3 [learn %s] [true] [off] [on]"},
      {"style %s|combo|normal|solid|normal", "4 [style %s] [normal] [solid|normal] []"},
      {"<readfile>|combo|none|none|b1", "4 [<readfile> %s] [none] [none|b1] []"},
      {"pick|combo", "4 [pick %s] [] [] []"},
      {"name|string", "5 [name %s] [<empty>] [] []"},
  };
  for (const auto& [declaration, declared] : cases) {
    EXPECT_EQ(Declared(declaration), declared) << declaration;
  }
}

TEST(DeclareEngineOptionTest, DropsInvalidDeclarations) {
  for (std::string_view declaration :
       {"cores|spin|1|8",          // a spin needs five fields
        "resign %i|spin||-500|0",  // an empty field does not count
        "sd|SPIN|1|1|99",          // the type word is lower case only
        "cmd| spin |1|1|8", "learn|check|true", "cmd|", "cmd", "cmd|slider|1"}) {
    EXPECT_EQ(Declared(declaration), "none") << declaration;
  }
  EngineOptionList options;
  DeclareEngineOption(options, "", "cmd|button");
  EXPECT_TRUE(options.empty());
}

TEST(BuildEngineOptionCommandTest, FillsTheTemplateOfTheExactlyNamedOptionByItsType) {
  EngineOptionList options;
  for (auto [key, declaration] : {std::pair{"Threads", "cores|spin|1|1|8"},
                                  {"Pair", "st 5\\nsd %i|spin|1|1|9"},
                                  {"Mode", "mode|check|0|0|1"},
                                  {"Clear Hash", "new %s %%|button"},
                                  {"Level", "level %s|combo|normal|easy|normal|hard"},
                                  {"Width", "width|combo|2|1|2|4"},
                                  {"Book", "<readfile>|combo|none|none|book1"},
                                  {"Name", "name %s %%|string"},
                                  {"Evil", "%s%s%n%x|string"},
                                  {"EvilSpin", "%n%s %i %i %d%|spin|0|0|9"},
                                  {"Threads", "other|button"}}) {  // the first declaration wins
    DeclareEngineOption(options, key, declaration);
  }
  const std::string longValue(1000, 'v');
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"Threads", "4x", "cores 4"},  // spin: the leading number, unchecked
      {"Threads", "-12", "cores -12"},
      {"Threads", "", "<nothing>"},
      {"threads", "4", "<nothing>"},
      {"Pair", "6", "st 5\nsd 6"},
      {"Mode", "tx", "mode 1"},  // check: only the first character counts
      {"Mode", "on", "mode 0"},
      {"Mode", "", "<nothing>"},
      {"Clear Hash", "x", "new %s %%"},  // a button's template goes out as it is
      {"Level", "hard", "level hard"},
      {"Level", "0", "level easy"},  // combo: a number picks an item
      {"Level", "5", "<nothing>"},
      {"Level", "99999999999", "<nothing>"},
      {"Level", "insane", "level insane"},
      {"Width", "2x", "width 4"},
      {"Book", "1", "<read> book1"},
      {"Name", "<empty>", "name  %"},
      {"Name", "", "name  %"},
      {"Name", "%s %n %%", "name %s %n %% %"},  // the value is not reinterpreted
      {"Name", longValue, "name " + longValue + " %"},
      {"Evil", "v", "v%s%n%x"},  // stray conversions are copied literally
      {"EvilSpin", "7", "%n%s 7 %i %d%"},
  };
  for (const auto& [name, value, outcome] : cases) {
    const EngineOptionCommand command = BuildEngineOptionCommand(options, name, value);
    EXPECT_EQ(command.kind == Kind::kNothing    ? "<nothing>"
              : command.kind == Kind::kReadFile ? "<read> " + command.text
                                                : command.text,
              outcome)
        << name << " " << value;
  }
}

}  // namespace
}  // namespace vantro
