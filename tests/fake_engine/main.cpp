// fake_engine: a scriptable xboard engine for the end-to-end tests.
//
//   fake_engine [--log PATH] [--script PATH] [other arguments, only logged]
//
// The log gets one line per line received on standard input,
// "<ms since start> <line>", written at once, so tests can read it while the
// engine runs. The fake's own notes start with "@": "@args <argv joined by
// blanks>", "@cwd <dir>", "@seed <n>", "@out <text printed>", "@illegal
// <move>", "@unknown <line>", "@eof", "@exit <status>", "@script-error <msg>".
// A received line that starts with "@" is logged with a second "@" in front.
//
// Script: one rule per line; blank lines and lines starting with "#" are skipped.
//   start <action>        run at start-up, in order, before any input is handled
//   on <word> <action>    run whenever a received line's first word is <word>
//                         ("*" matches every line); several rules for one word
//                         run in file order
//   mode play             keep a game and play random legal moves (below)
//   move-delay <min> <max>  play mode: think a uniformly drawn min..max ms (default 0 0)
//   seed <n>              play mode: random seed (default: from the clock; logged as @seed)
//   move-format coord|san play mode: how moves and thinking lines are written
// Actions:
//   print <text>          text and a line feed to standard output
//   print-raw <text>      text without a line feed
//   stderr <text>         text and a line feed to standard error
//   sleep <ms>            the dispatcher sleeps (input is still read and logged)
//   exit [status]         ends the process at once (default status 0)
//   ignore                nothing; documents that a command is ignored on purpose
//   once <action>         the action only the first time its rule fires
// Texts may hold \n \r \t \\ \xHH, and $0 (the received line), $1..$9 (its
// words) and $$ ("$"). "quit" is not special: the fake ends on it only with
// "on quit exit". End of input always ends the fake, after the lines before it.
//
// Play mode (applied after the script's rules for the same line): "new",
// "force", "go", "playother", "setboard <fen>", "edit" ... ".", "usermove <m>"
// or a bare move (coordinates or SAN), "undo", "remove", "?" (move now),
// "analyze" ... "exit" (a thinking line every kAnalyzeIntervalMs); "white",
// "black", "level", "st", "sd", "time", "otim", "post", "nopost", "hard",
// "easy", "computer", "accepted", "rejected", "xboard", "protover", "result",
// "random", "ping", "." are ignored. On its turn outside force mode it prints
// one thinking line "<depth> <score> <cs> <nodes> <pv>" and "move <m>" of a
// random legal move, or the result when it has none. A move that is illegal
// on its board gives "Illegal move: <text>".
#include <unistd.h>

#include <climits>
#include <csignal>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine_io.h"
#include "game_keeper.h"
#include "input_reader.h"
#include "rule_runner.h"
#include "script.h"

namespace {

using namespace vantro::fake;

struct Arguments {
  std::string logPath;
  std::string scriptPath;
  std::string all;  // every argument joined by single blanks, the program name first
};

Arguments ReadArguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    if (i > 0) arguments.all += ' ';
    arguments.all += word;
    if ((word == "--log" || word == "--script") && i + 1 < argc) {
      (word == "--log" ? arguments.logPath : arguments.scriptPath) = argv[i + 1];
    }
  }
  return arguments;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

// The script, or nothing (with the reasons logged and on standard error): a
// faulty script must fail loudly rather than make a test pass by accident.
std::optional<Script> LoadScript(const std::string& path, EngineLog& log, EngineOutput& output) {
  if (path.empty()) return Script{};
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  std::vector<std::string> errors;
  Script script;
  if (!file) {
    errors.push_back("cannot read " + path);
  } else {
    script = ParseScript(text.str());
    errors = script.errors;
  }
  for (const std::string& error : errors) {
    log.Note("script-error", error);
    output.PrintError("fake_engine: " + error);
  }
  if (!errors.empty()) return {};
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that has gone away must not kill the fake before it logs the rest.
  std::signal(SIGPIPE, SIG_IGN);
  const Arguments arguments = ReadArguments(argc, argv);
  EngineLog log(arguments.logPath);
  EngineOutput output(log);
  log.Note("args", arguments.all);
  log.Note("cwd", CurrentDirectory());

  InputReader input(log);
  const std::optional<Script> script = LoadScript(arguments.scriptPath, log, output);
  if (!script) ExitEngine(log, 2);

  std::unique_ptr<GameKeeper> game;
  if (script->playMode) game = std::make_unique<GameKeeper>(*script, log, output);
  RuleRunner rules(*script, log, output);
  rules.RunStart();
  while (const std::optional<std::string> line = input.Next()) {
    rules.OnLine(*line);
    if (game) game->OnLine(*line);
  }
  game.reset();
  log.Note("exit", "0");
  return 0;
}
