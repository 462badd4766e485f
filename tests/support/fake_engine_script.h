#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace vantro::test {

// Builds a script for the fake xboard engine; its language and an example
// are in docs/testing.md.
class FakeEngineScript {
 public:
  FakeEngineScript& Start(std::string_view action) { return Add("start " + std::string(action)); }
  FakeEngineScript& On(std::string_view word, std::string_view action) {
    return Add("on " + std::string(word) + " " + std::string(action));
  }
  FakeEngineScript& Features(std::string_view pairs) {
    return Start("print feature " + std::string(pairs));
  }
  // Without it the fake ignores "quit" (and ends only at end of input).
  FakeEngineScript& ExitOnQuit() { return On("quit", "exit"); }
  // "mode play", the move delay and, when given, the seed.
  FakeEngineScript& Play(int minDelayMs = 0, int maxDelayMs = 0,
                         std::optional<std::uint64_t> seed = std::nullopt);

  // Writes <dir>/script.txt and returns the command line that starts the fake
  // with it and the log <dir>/engine.log. A line the fake would reject fails
  // the test here, before anything runs.
  std::string WriteTo(const TempDir& dir) const;

  // One script line as it stands.
  FakeEngineScript& Add(std::string line) {
    text_ += line + "\n";
    return *this;
  }

 private:
  std::string text_;
};

std::string EngineLogPath(const TempDir& dir);

}  // namespace vantro::test
