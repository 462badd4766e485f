// The user documentation against the program: the help page and the man page
// must document every option the program announces, with the default it
// announces, and the man page must render without warnings.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

// Text as a regular expression that matches it literally.
std::string Literal(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([\\^$.|?*+()\[\]{}])"), "\\$&");
}

TEST(Documentation, HelpAndManPageDocumentEveryOptionWithItsDefault) {
  TempDir dir;
  const bool man = std::system("command -v man >/dev/null 2>&1") == 0;
  const std::string render = "MANWIDTH=80 man --warnings -l '" + SourceDir() + "/docs/vantro.1' >" +
                             dir.File("page") + " 2>" + dir.File("warnings");
  ASSERT_TRUE(!man || std::system(render.c_str()) == 0);
  EXPECT_EQ(dir.Read("warnings"), "");
  const std::string page = dir.Read("page");
  // The help page as text, each table cell ending in '|'.
  std::string help = ReadFile(SourceDir() + "/docs/Vantro.html");
  for (const auto& [from, to] :
       {std::pair{"</td>", "|"}, {"<[^>]*>", ""}, {"&lt;", "<"}, {"&gt;", ">"}, {"\\s+", " "}}) {
    help = std::regex_replace(help, std::regex(from), to);
  }
  // What the program announces without a definition file, so that a new
  // option cannot go undocumented, and the options only the definition file sets.
  UciSession session(dir.Path());
  session.Send("uci");
  std::vector<std::string> lines = session.ReadUntil("uciok", 5s);
  lines.insert(lines.end(), {"option name TerminateHard type check default false",
                             "option name MateScore type string default 100000+moves",
                             "option name EngineOptions type check default false",
                             "option name ExitAnalysis type string default exit",
                             "option name Nudge type string default <empty>"});
  const std::regex option(
      R"(option name (\S+) type (\w+)(?: default ?(.*?))?(?: (?:min|var) .*)?)");
  int options = 0;
  for (const std::string& line : lines) {
    std::smatch match;
    if (!std::regex_match(line, match, option)) continue;
    ++options;
    // The help page's row: name, values, default, text; the man page's
    // heading: the name, then its values and default in parentheses (a short
    // heading shares its line with the text after two blanks).
    const std::string name = match[1], value = Literal(match[3]);
    EXPECT_TRUE(std::regex_search(
        help, std::regex("[| ]" + name + "\\|[^|]*\\| ?" + value + "[^|]*\\|[^|]*\\|")))
        << name;
    const std::string values =
        match[2] == "button" ? "( \\([^\n]*\\))?" : " \\([^\n]*default " + value + "[^\n]*\\)";
    EXPECT_TRUE(!man || std::regex_search(page, std::regex("\n +" + name + values + "(\n|  )")))
        << name;
  }
  EXPECT_EQ(options, 28 + 5);
  if (!man) GTEST_SKIP() << "the man page is unchecked: man is not installed (tools/deps.sh)";
}

}  // namespace
}  // namespace vantro::test
