#include "support/uci_session.h"

#include "support/test_paths.h"

namespace vantro::test {

UciSession::UciSession(const std::string& workDir, const std::vector<std::string>& args)
    : PipedProcess(VantroBinary(), args, workDir) {
  ShowOnFailure(workDir + "/Vantro.log");
  ShowOnFailure(workDir + "/engine.log");
}

bool UciSession::Handshake(Duration timeout) {
  Send("uci");
  if (WaitFor("uciok", timeout) != "uciok") return false;
  Send("isready");
  return WaitFor("readyok", timeout) == "readyok";
}

}  // namespace vantro::test
