// The user documentation against the program: the help page and the man page
// must document every option the program announces, with the default it
// announces, and the man page must render without warnings.
#include <gmock/gmock.h>
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
using ::testing::HasSubstr;
using ::testing::StartsWith;

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

TEST(Documentation, HelpAndManPageDocumentEveryOptionWithItsDefault) {
  const std::string html = ReadFile(SourceDir() + "/docs/Vantro.html");
  const bool man = Shell("command -v man >/dev/null 2>&1").first == 0;
  const std::string page = " -l '" + SourceDir() + "/docs/vantro.1'";
  if (man) {
    EXPECT_EQ(Shell("MANWIDTH=80 man --warnings" + page + " 2>&1 >/dev/null"),
              std::pair(0, std::string()));
  }
  const auto [status, text] =
      man ? Shell("MANWIDTH=80 man" + page + " 2>/dev/null") : std::pair(0, std::string());
  ASSERT_EQ(status, 0);
  for (const Option& option : DocumentedOptions()) {
    // The help page's row: name, values, default, text.
    const std::size_t name = html.find("<td><code>" + option.name + "</code></td>");
    ASSERT_NE(name, std::string::npos) << option.name;
    std::vector<std::string> cells;
    for (std::size_t at = name, end = html.find("</tr>", name); (at = html.find("<td>", at)) < end;
         at += 4) {
      cells.push_back(html.substr(at + 4, html.find("</td>", at) - at - 4));
    }
    ASSERT_EQ(cells.size(), 4u) << option.name;
    // The man page's heading: the name, then its values and default in
    // parentheses; a short heading shares its line with the text after two blanks.
    const std::regex heading("\n +" + option.name + "( \\(([^\n]*)\\))?(\n|  )");
    std::smatch match;
    ASSERT_TRUE(!man || std::regex_search(text, match, heading)) << option.name;
    if (!option.defaultText) continue;
    const std::string escaped = std::regex_replace(
        std::regex_replace(*option.defaultText, std::regex("<"), "&lt;"), std::regex(">"), "&gt;");
    EXPECT_THAT(std::regex_replace(cells[2], std::regex("<[^>]*>|^\\s+"), ""), StartsWith(escaped))
        << option.name;
    if (man) {
      EXPECT_THAT(match[2].str(), HasSubstr("default " + *option.defaultText)) << option.name;
    }
  }
  if (!man) GTEST_SKIP() << "the man page is unchecked: man is not installed (tools/deps.sh)";
}

}  // namespace
}  // namespace vantro::test
