#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/uci_session.h"

namespace vantro::test {

// One exchange between a GUI, Vantro and the fake engine, as data, with what
// each side must have got. A pattern fully matches a line (ECMAScript);
// "#n pattern" holds when exactly n lines match it; the other patterns must
// match lines in their order, the first one at its last match.
struct Conversation {
  const char* name = "";
  std::vector<std::string> script = {};      // the fake's script lines; none: no engine
  std::vector<std::string> definition = {};  // definition file lines after Program and Logfile=true
  // GUI lines, and steps of the test: "@ready" (the handshake) and "@wait
  // <prefix>" (a line starting so), each within 30 s; "@pause <ms>", "@close"
  // (end of input), "@flood <count> <line>".
  std::vector<std::string> gui = {};
  std::vector<std::string> toGui = {};     // patterns of the lines the GUI got
  std::vector<std::string> toEngine = {};  // patterns of the lines the engine got
  std::vector<std::string> toLog = {};     // texts that Vantro.log holds ("#0 text": not)
  Duration exitWithin{0};                  // when set, Vantro ends with status 0 within it
};

inline std::ostream& operator<<(std::ostream& out, const Conversation& c) {
  return out << c.name;
}

// The whole text matches the pattern as the conversation patterns do: one
// regex dialect on every platform (GoogleTest's own on Windows knows no brackets).
MATCHER_P(FullyMatches, pattern, "matches " + ::testing::PrintToString(std::string(pattern))) {
  return std::regex_match(std::string(arg), std::regex(pattern));
}

// Plays the conversation and checks what each side got. The engine's lines
// hold no move that its own game found illegal.
void Converse(const Conversation& c);

// Vantro in `dir` on a definition file x.eng: Logfile=true, the Program line
// (none when `program` is empty), then `definition`. Without either, Vantro
// gets no argument.
std::unique_ptr<UciSession> StartVantro(const TempDir& dir, const std::string& program,
                                        const std::vector<std::string>& definition = {});

}  // namespace vantro::test

// A table of conversations as one test, each row run as
// <prefix>/<suite>.<testName>/<row name>.
#define CONVERSATION_TABLE(prefix, suite, testName, rows)                         \
  class suite : public ::testing::TestWithParam<::vantro::test::Conversation> {}; \
  TEST_P(suite, testName) {                                                       \
    ::vantro::test::Converse(GetParam());                                         \
  }                                                                               \
  INSTANTIATE_TEST_SUITE_P(prefix, suite, ::testing::ValuesIn(rows),              \
                           [](const auto& info) { return std::string(info.param.name); })
