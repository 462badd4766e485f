// The user documentation against the program: the help page and the man page
// must document every option the program announces, with the default it
// announces, and the man page must render without warnings.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;

struct Option {
  std::string name;
  std::optional<std::string> defaultText;  // none for a button
};

// What the program announces without a definition file, so that a new option
// cannot go undocumented, and the options only the definition file sets.
std::vector<Option> DocumentedOptions() {
  TempDir dir;
  UciSession session(dir.Path());
  session.Send("uci");
  std::vector<Option> options;
  static const std::regex kLine(
      R"(option name (\S+) type (\w+)(?: default ?(.*?))?(?: (?:min|var) .*)?)");
  for (const std::string& line : session.ReadUntil("uciok", 5s)) {
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) continue;
    options.push_back({match[1].str(), std::nullopt});
    if (match[2] != "button") options.back().defaultText = match[3].str();
  }
  EXPECT_EQ(options.size(), 28u);
  options.insert(options.end(), {{"TerminateHard", "false"},
                                 {"MateScore", "100000+moves"},
                                 {"EngineOptions", "false"},
                                 {"ExitAnalysis", "exit"},
                                 {"Nudge", "<empty>"}});
  return options;
}

// The exit status and standard output of a shell command.
std::pair<int, std::string> Shell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, output};
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, n);
  return {pclose(pipe), output};
}

// Text as a regular expression that matches it literally.
std::string Literal(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([\\^$.|?*+()\[\]{}])"), "\\$&");
}

TEST(Documentation, HelpAndManPageDocumentEveryOptionWithItsDefault) {
  const bool man = Shell("command -v man >/dev/null 2>&1").first == 0;
  const std::string page = " -l '" + SourceDir() + "/docs/vantro.1'";
  if (man) {
    EXPECT_EQ(Shell("MANWIDTH=80 man --warnings" + page + " 2>&1 >/dev/null"),
              std::pair(0, std::string()));
  }
  const auto [status, text] =
      man ? Shell("MANWIDTH=80 man" + page + " 2>/dev/null") : std::pair(0, std::string());
  ASSERT_EQ(status, 0);
  // The help page as text, each table cell ending in '|'.
  std::string help = ReadFile(SourceDir() + "/docs/Vantro.html");
  for (const auto& [from, to] :
       {std::pair{"</td>", "|"}, {"<[^>]*>", ""}, {"&lt;", "<"}, {"&gt;", ">"}, {"\\s+", " "}}) {
    help = std::regex_replace(help, std::regex(from), to);
  }
  for (const Option& option : DocumentedOptions()) {
    // The help page's row: name, values, default, text; the man page's
    // heading: the name, then its values and default in parentheses (a short
    // heading shares its line with the text after two blanks).
    const std::string value = option.defaultText ? Literal(*option.defaultText) : "";
    EXPECT_TRUE(std::regex_search(
        help, std::regex("[| ]" + option.name + "\\|[^|]*\\| ?" + value + "[^|]*\\|[^|]*\\|")))
        << option.name;
    const std::string values =
        option.defaultText ? " \\([^\n]*default " + value + "[^\n]*\\)" : "( \\([^\n]*\\))?";
    EXPECT_TRUE(!man ||
                std::regex_search(text, std::regex("\n +" + option.name + values + "(\n|  )")))
        << option.name;
  }
  if (!man) GTEST_SKIP() << "the man page is unchecked: man is not installed (tools/deps.sh)";
}

}  // namespace
}  // namespace vantro::test
