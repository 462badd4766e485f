#include "settings/engine_options.h"

#include <gtest/gtest.h>

#include <string>

namespace vantro {
namespace {

using Kind = EngineOptionCommand::Kind;

EngineOptionList Declare(std::string_view key, std::string_view declaration) {
  EngineOptionList options;
  DeclareEngineOption(options, key, declaration);
  return options;
}

void ExpectOption(const EngineOptionList& options, EngineOptionType type, std::string_view name,
                  std::string_view command, std::string_view defaultText, std::string_view extra1,
                  std::string_view extra2) {
  ASSERT_EQ(options.size(), 1u) << name;
  const EngineOption& o = options[0];
  EXPECT_EQ(o.type, type) << name;
  EXPECT_EQ(o.name, name);
  EXPECT_EQ(o.command, command) << name;
  EXPECT_EQ(o.defaultText, defaultText) << name;
  EXPECT_EQ(o.extra1, extra1) << name;
  EXPECT_EQ(o.extra2, extra2) << name;
}

TEST(DeclareEngineOptionTest, ReadsEachTypeAndAppendsTheMissingConversion) {
  ExpectOption(Declare("Threads", "cores|spin|1|1|8"), EngineOptionType::kSpin, "Threads",
               "cores %i", "1", "1", "8");
  ExpectOption(Declare("Style", "style %s|combo|normal|solid|normal|risky"),
               EngineOptionType::kCombo, "Style", "style %s", "normal", "solid|normal|risky", "");
  ExpectOption(Declare("Book", "<readfile>|combo|none|none|book1|book2"), EngineOptionType::kCombo,
               "Book", "<readfile> %s", "none", "none|book1|book2", "");
  ExpectOption(Declare("Clear Hash", "new|button"), EngineOptionType::kButton, "Clear Hash", "new",
               "", "", "");
  ExpectOption(Declare("Learning", "learn|check|true|off|on"), EngineOptionType::kCheck, "Learning",
               "learn %s", "true", "off", "on");
  ExpectOption(Declare("Name", "name|string"), EngineOptionType::kString, "Name", "name %s",
               "<empty>", "", "");
  ExpectOption(Declare("Combo", "pick|combo"), EngineOptionType::kCombo, "Combo", "pick %s", "", "",
               "");
  ExpectOption(Declare("Spin", " x |spin| a | b | c |extra"), EngineOptionType::kSpin, "Spin",
               " x  %i", " a ", " b ", " c ");
}

TEST(DeclareEngineOptionTest, DecodesEscapesInTheCommand) {
  ExpectOption(Declare("Pair", "st 5\\nsd 8|button"), EngineOptionType::kButton, "Pair",
               "st 5\nsd 8", "", "", "");
}

TEST(DeclareEngineOptionTest, DropsInvalidDeclarations) {
  const std::pair<std::string, std::string> invalid[] = {
      {"Threads", "cores|spin|1|8"},  // a spin needs five fields
      {"Learning", "learn|check|true"},
      {"Resign", "resign %i|spin||-500|0"},  // an empty field does not count
      {"Depth", "sd|SPIN|1|1|99"},           // the type word is lower case only
      {"Padded", "cmd| spin |1|1|8"},
      {"", "cmd|button"},
      {"NoType", "cmd"},
      {"NoType", "cmd|"},
      {"Other", "cmd|slider|1"},
  };
  for (const auto& [key, declaration] : invalid) {
    EXPECT_TRUE(Declare(key, declaration).empty()) << key << "=" << declaration;
  }
}

TEST(DeclareEngineOptionTest, KeepsDeclarationOrderAndDuplicates) {
  EngineOptionList options;
  DeclareEngineOption(options, "A", "a|button");
  DeclareEngineOption(options, "B", "b|button");
  DeclareEngineOption(options, "A", "c|button");
  ASSERT_EQ(options.size(), 3u);
  EXPECT_EQ(options[0].command, "a");
  EXPECT_EQ(options[1].name, "B");
  EXPECT_EQ(options[2].command, "c");
  EXPECT_EQ(BuildEngineOptionCommand(options, "A", "").text, "a");
}

class BuildCommandTest : public ::testing::Test {
 protected:
  BuildCommandTest() {
    DeclareEngineOption(options, "Threads", "cores|spin|1|1|8");
    DeclareEngineOption(options, "Mode", "mode|check|0|0|1");
    DeclareEngineOption(options, "Clear Hash", "new %s %%|button");
    DeclareEngineOption(options, "Level", "level %s|combo|normal|easy|normal|hard");
    DeclareEngineOption(options, "Width", "width|combo|2|1|2|4");
    DeclareEngineOption(options, "Book", "<readfile>|combo|none|none|book1");
    DeclareEngineOption(options, "Name", "name|string");
    DeclareEngineOption(options, "Pair", "st 5\\nsd %i|spin|1|1|9");
  }

  EngineOptionCommand Build(std::string_view name, std::string_view value) const {
    return BuildEngineOptionCommand(options, name, value);
  }
  std::string Sent(std::string_view name, std::string_view value) const {
    const EngineOptionCommand command = Build(name, value);
    return command.kind == Kind::kSend ? command.text : "<nothing>";
  }

  EngineOptionList options;
};

TEST_F(BuildCommandTest, SpinSendsTheLeadingNumberUnchecked) {
  EXPECT_EQ(Sent("Threads", "4"), "cores 4");
  EXPECT_EQ(Sent("Threads", "4x"), "cores 4");
  EXPECT_EQ(Sent("Threads", "abc"), "cores 0");
  EXPECT_EQ(Sent("Threads", "999"), "cores 999");
  EXPECT_EQ(Sent("Threads", "-12"), "cores -12");
  EXPECT_EQ(Sent("Threads", ""), "<nothing>");
  EXPECT_EQ(Sent("Pair", "6"), "st 5\nsd 6");
}

TEST_F(BuildCommandTest, CheckLooksOnlyAtTheFirstCharacter) {
  for (std::string_view on : {"true", "True", "1", "tx"}) EXPECT_EQ(Sent("Mode", on), "mode 1");
  for (std::string_view off : {"false", "on", "yes", "0", "ON"}) {
    EXPECT_EQ(Sent("Mode", off), "mode 0") << off;
  }
  EXPECT_EQ(Sent("Mode", ""), "<nothing>");
}

TEST_F(BuildCommandTest, ButtonSendsItsTemplateUnformattedAndIgnoresTheValue) {
  EXPECT_EQ(Sent("Clear Hash", ""), "new %s %%");
  EXPECT_EQ(Sent("Clear Hash", "x"), "new %s %%");
}

TEST_F(BuildCommandTest, ComboResolvesItemsAndIndexes) {
  EXPECT_EQ(Sent("Level", "hard"), "level hard");
  EXPECT_EQ(Sent("Level", "1"), "level normal");
  EXPECT_EQ(Sent("Level", "0"), "level easy");
  EXPECT_EQ(Sent("Level", "5"), "<nothing>");
  EXPECT_EQ(Sent("Level", "99999999999"), "<nothing>");
  EXPECT_EQ(Sent("Level", "insane"), "level insane");
  EXPECT_EQ(Sent("Level", ""), "<nothing>");
  EXPECT_EQ(Sent("Width", "4"), "width 4");
  EXPECT_EQ(Sent("Width", "3"), "<nothing>");
  EXPECT_EQ(Sent("Width", "2x"), "width 4");
}

TEST_F(BuildCommandTest, ReadFileComboNamesThePreSetupFile) {
  const EngineOptionCommand command = Build("Book", "book1");
  EXPECT_EQ(command.kind, Kind::kReadFile);
  EXPECT_EQ(command.text, "book1");
  EXPECT_EQ(Build("Book", "2").kind, Kind::kNothing);
  EXPECT_EQ(Build("Book", "1").text, "book1");
}

TEST_F(BuildCommandTest, StringSendsEvenAnEmptyValue) {
  EXPECT_EQ(Sent("Name", "Deep Blue"), "name Deep Blue");
  EXPECT_EQ(Sent("Name", "<empty>"), "name ");
  EXPECT_EQ(Sent("Name", ""), "name ");
}

TEST_F(BuildCommandTest, NamesMatchExactly) {
  EXPECT_EQ(Build("threads", "4").kind, Kind::kNothing);
  EXPECT_EQ(Build("Unknown", "4").kind, Kind::kNothing);
}

TEST(BuildCommandSafetyTest, StrayConversionsInATemplateAreCopiedLiterally) {
  EngineOptionList options;
  DeclareEngineOption(options, "Evil", "%s%s%n%x|string");
  DeclareEngineOption(options, "EvilSpin", "%n%s %i %i %d%|spin|0|0|9");
  EXPECT_EQ(BuildEngineOptionCommand(options, "Evil", "v").text, "v%s%n%x");
  EXPECT_EQ(BuildEngineOptionCommand(options, "EvilSpin", "7").text, "%n%s 7 %i %d%");
}

TEST(BuildCommandSafetyTest, ValuePercentSignsAreNotReinterpreted) {
  EngineOptionList options;
  DeclareEngineOption(options, "Name", "name %s %%|string");
  EXPECT_EQ(BuildEngineOptionCommand(options, "Name", "%s %n %%").text, "name %s %n %% %");
}

TEST(BuildCommandSafetyTest, LongValuesAreSentWhole) {
  EngineOptionList options;
  DeclareEngineOption(options, "Name", "name|string");
  const std::string value(1000, 'v');
  EXPECT_EQ(BuildEngineOptionCommand(options, "Name", value).text, "name " + value);
}

TEST(FormatTest, FillsOnlyTheFirstMatchingConversion) {
  EXPECT_EQ(FormatInt("memory %i mb", 96), "memory 96 mb");
  EXPECT_EQ(FormatInt("memory %d", -5), "memory -5");
  EXPECT_EQ(FormatInt("%%i %i %i", 1), "%i 1 %i");
  EXPECT_EQ(FormatInt("no conversion %", 1), "no conversion %");
  EXPECT_EQ(FormatString("%i %s", "x"), "%i x");
  EXPECT_EQ(FormatString("%%%s", "x"), "%x");
}

}  // namespace
}  // namespace vantro
