#pragma once

#include <string>
#include <vector>

#include "support/piped_process.h"
#include "support/temp_dir.h"

namespace vantro::test {

// Vantro started as a UCI GUI would start it: `args` on the command line,
// `workDir` as its current directory, talking over pipes. After a failed
// test the transcript is printed together with Vantro.log and engine.log
// from `workDir`, when they exist.
class UciSession : public PipedProcess {
 public:
  explicit UciSession(const std::string& workDir, const std::vector<std::string>& args = {});

  // "uci" until "uciok", then "isready" until "readyok" (the engine starts on
  // the first "isready"). True when both answers came, each within `timeout`.
  bool Handshake(Duration timeout);
};

// Vantro run in `dir` with `args` as from a shell, to its end.
struct VantroRun {
  int status = -1;  // -1: no end within seconds of its output's end
  std::string out;
  std::string err;
};
VantroRun RunVantro(const TempDir& dir, const std::vector<std::string>& args);
// "vantro --probe" and the words of `commandLine`.
VantroRun Probe(const TempDir& dir, std::string_view commandLine);

}  // namespace vantro::test
