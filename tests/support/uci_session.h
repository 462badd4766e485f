#pragma once

#include <string>
#include <vector>

#include "support/piped_process.h"

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

}  // namespace vantro::test
