#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace vantro::test {

// Builds a script for the fake xboard engine (its language is described at
// the top of tests/fake_engine/main.cpp and in docs/testing.md).
//
//   FakeEngineScript script;
//   script.Features("setboard=1 usermove=1 done=1").On("go", "print move e7e5").ExitOnQuit();
//   std::string program = script.WriteTo(dir);  // the Program= line for Vantro
class FakeEngineScript {
 public:
  FakeEngineScript& Add(std::string line);  // any script line
  FakeEngineScript& Start(std::string_view action);
  FakeEngineScript& On(std::string_view word, std::string_view action);
  // "start print feature <pairs>".
  FakeEngineScript& Features(std::string_view pairs);
  // "on quit exit": without it the fake ignores "quit".
  FakeEngineScript& ExitOnQuit();
  // "mode play", the move delay and, when given, the seed.
  FakeEngineScript& Play(int minDelayMs = 0, int maxDelayMs = 0,
                         std::optional<std::uint64_t> seed = std::nullopt);

  std::string Text() const;
  // Writes <dir>/script.txt and returns the command line that starts the fake
  // with it and with the log <dir>/engine.log. Every line the fake would
  // reject is reported as a test failure here, before anything runs.
  std::string WriteTo(const TempDir& dir) const;

 private:
  std::vector<std::string> lines_;
};

// The fake's command line for <dir>/script.txt and <dir>/engine.log.
std::string FakeEngineCommandLine(const TempDir& dir);
std::string EngineLogPath(const TempDir& dir);

// Writes an engine definition file: "[OPTIONS]", "Program=<programLine>",
// then `extraLines` as they are (they may open other sections). Returns its path.
std::string WriteDefinitionFile(const TempDir& dir, std::string_view name,
                                std::string_view programLine,
                                const std::vector<std::string>& extraLines = {});

}  // namespace vantro::test
