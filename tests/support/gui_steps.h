#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "support/uci_session.h"

namespace vantro::test {

// Plays GUI lines into `session`. Lines starting with "@" are steps of the
// test: "@pause <ms>", "@wait <prefix>" (a line starting so, within
// `waitLimit`), "@close" (end of input), "@flood <count> <line>". False, with
// a test failure, when a wait fails.
bool PlayGuiSteps(UciSession& session, const std::vector<std::string>& steps,
                  std::chrono::milliseconds waitLimit);

// Every line of `session` that starts with `prefix`, after reading what is
// still queued.
std::vector<std::string> LinesStartingWith(UciSession& session, std::string_view prefix);

}  // namespace vantro::test
