#include "support/uci_session.h"

#include "base/text.h"
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

VantroRun RunVantro(const TempDir& dir, const std::vector<std::string>& args) {
  PipedProcess process(VantroBinary(), args, dir.Path());
  VantroRun run;
  while (std::optional<std::string> line = process.ReadLine(Duration(30000))) {
    run.out += *line + "\n";
  }
  run.status = process.WaitExit(Duration(10000)).value_or(-1);
  run.err = dir.Read("stderr.txt");
  return run;
}

VantroRun Probe(const TempDir& dir, std::string_view commandLine) {
  std::vector<std::string> args = {"--probe"};
  for (std::string_view word : SplitWords(commandLine)) args.emplace_back(word);
  return RunVantro(dir, args);
}

}  // namespace vantro::test
