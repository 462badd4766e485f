// The user documentation against the program: the help page must document
// every option the program announces with the default it announces, and the
// man page must render without warnings and carry the same options.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_paths.h"
#include "support/uci_session.h"

namespace vantro::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kManWidth = "80";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string HelpPagePath() {
  return SourceDir() + "/docs/Vantro.html";
}
std::string ManPagePath() {
  return SourceDir() + "/docs/vantro.1";
}

std::string StripTags(std::string_view html) {
  std::string text;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) text += c;
    if (c == '>') inTag = false;
  }
  for (auto [entity, plain] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&nbsp;", " "}, {"&minus;", "-"}, {"&amp;", "&"}}) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;) {
      text.replace(at, std::string_view(entity).size(), plain);
    }
  }
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

struct AnnouncedOption {
  std::string name;
  std::optional<std::string> defaultText;  // none for a button
};

// Not announced to the GUI, but settable from the definition file.
const std::vector<AnnouncedOption>& HiddenOptions() {
  static const std::vector<AnnouncedOption> kHidden = {
      {"TerminateHard", "false"}, {"MateScore", "100000+moves"}, {"EngineOptions", "false"}};
  return kHidden;
}

// The options the program itself announces when it runs without a
// definition file, so that a new option cannot go undocumented.
std::vector<AnnouncedOption> AnnouncedOptions() {
  TempDir dir;
  UciSession session(dir.Path());
  session.Send("uci");
  std::vector<AnnouncedOption> options;
  static const std::regex kLine(
      R"(option name (\S+) type (\w+)(?: default ?(.*?))?(?: (?:min|var) .*)?)");
  for (const std::string& line : session.ReadUntil("uciok", 5s)) {
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) continue;
    AnnouncedOption option{match[1].str(), std::nullopt};
    if (match[2] != "button") option.defaultText = match[3].str();
    options.push_back(std::move(option));
  }
  session.Send("quit");
  session.WaitExit(2s);
  return options;
}

// The cells of the options table row for `name`.
std::vector<std::string> OptionRow(const std::string& html, const std::string& name) {
  const std::string start = "<td><code>" + name + "</code></td>";
  std::size_t pos = html.find(start);
  if (pos == std::string::npos) return {};
  std::size_t rowEnd = html.find("</tr>", pos);
  std::vector<std::string> cells;
  for (std::size_t cell = pos; (cell = html.find("<td>", cell)) < rowEnd;) {
    std::size_t cellEnd = html.find("</td>", cell);
    cells.push_back(StripTags(html.substr(cell + 4, cellEnd - cell - 4)));
    cell = cellEnd;
  }
  return cells;
}

struct CommandResult {
  int status = -1;
  std::string output;
};

CommandResult RunShell(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, n);
  }
  result.status = pclose(pipe);
  return result;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool ManInstalled() {
  return RunShell("command -v man >/dev/null 2>&1").status == 0;
}

TEST(HelpPage, DocumentsEveryAnnouncedOptionWithTheDefaultTheProgramAnnounces) {
  const std::string html = ReadFile(HelpPagePath());
  const std::vector<AnnouncedOption> options = AnnouncedOptions();
  ASSERT_EQ(options.size(), 28u);
  for (const AnnouncedOption& option : options) {
    const std::vector<std::string> cells = OptionRow(html, option.name);
    ASSERT_EQ(cells.size(), 4u) << "no row of four cells for " << option.name;
    if (!option.defaultText) continue;
    // The page writes an empty default as "(empty)".
    const std::string expected = option.defaultText->empty() ? "(empty)" : *option.defaultText;
    EXPECT_THAT(cells[2], StartsWith(expected)) << option.name;
  }
  for (const AnnouncedOption& option : HiddenOptions()) {
    const std::vector<std::string> cells = OptionRow(html, option.name);
    ASSERT_EQ(cells.size(), 4u) << option.name;
    EXPECT_THAT(cells[2], StartsWith(*option.defaultText)) << option.name;
  }
}

TEST(ManPage, RendersWithoutWarnings) {
  if (!ManInstalled()) GTEST_SKIP() << "man is not installed (tools/deps.sh installs man-db)";
  const CommandResult result =
      RunShell(std::string("MANWIDTH=") + kManWidth + " man --warnings -l " +
               ShellQuote(ManPagePath()) + " 2>&1 >/dev/null");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "");
}

TEST(ManPage, HasTheUsualSectionsAndEveryOptionWithItsDefault) {
  if (!ManInstalled()) GTEST_SKIP() << "man is not installed (tools/deps.sh installs man-db)";
  const CommandResult result = RunShell(std::string("MANWIDTH=") + kManWidth + " man -l " +
                                        ShellQuote(ManPagePath()) + " 2>/dev/null");
  ASSERT_EQ(result.status, 0);
  const std::string& text = result.output;
  for (const char* section : {"\nNAME\n", "\nSYNOPSIS\n", "\nDESCRIPTION\n", "\nOPTIONS\n",
                              "\nFILES\n", "\nEXAMPLES\n", "\nSEE ALSO\n"}) {
    EXPECT_THAT(text, HasSubstr(section));
  }
  for (const char* file : {"Vantro.eng", "Vantro.log", "Vantro.html"}) {
    EXPECT_THAT(text, HasSubstr(file));
  }
  std::vector<AnnouncedOption> options = AnnouncedOptions();
  ASSERT_FALSE(options.empty());
  options.insert(options.end(), HiddenOptions().begin(), HiddenOptions().end());
  for (const AnnouncedOption& option : options) {
    // An option's heading: its name, then its values and default in parentheses;
    // a short heading shares its line with the text after two blanks.
    const std::regex heading("\n +" + option.name + "( \\(([^\n]*)\\))?(\n|  )");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(text, match, heading)) << option.name;
    if (!option.defaultText) continue;
    const std::string expected = option.defaultText->empty() ? "empty" : *option.defaultText;
    EXPECT_THAT(match[2].str(), HasSubstr("default " + expected)) << option.name;
  }
}

}  // namespace
}  // namespace vantro::test
