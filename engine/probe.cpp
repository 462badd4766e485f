#include "engine/probe.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "base/text.h"
#include "platform/child_process.h"
#include "platform/line_reader_thread.h"

namespace vantro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The protocol gives an engine two seconds to start its feature list, one
// that opens it with done=0 a minute to close it, and a first-version engine
// some seconds for a move at one second a move.
constexpr milliseconds kFeatureWait{2000};
constexpr milliseconds kFeatureListWait{60000};
constexpr milliseconds kMoveWait{5000};
constexpr milliseconds kPacedMoveWait{10000};
constexpr milliseconds kLinePause{100};

// The engine's output lines, handed over from its reader thread.
class LineQueue {
 public:
  bool Push(std::string_view line) {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(line);
    changed_.notify_all();
    return true;
  }
  void End() {
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  // The next line before `deadline`; false at the deadline or the end.
  bool Pop(Clock::time_point deadline, std::string& line) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [&] { return !lines_.empty() || ended_; });
    if (lines_.empty()) return false;
    line = std::move(lines_.front());
    lines_.pop_front();
    return true;
  }
  bool Ended() {
    std::lock_guard lock(mutex_);
    return ended_ && lines_.empty();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> lines_;
  bool ended_ = false;
};

std::string CommandLine(const std::vector<std::string>& args) {
  std::string line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) line += ' ';
    // The program may hold blanks (the start finds the longest name that is
    // a file); arguments with blanks are grouped as the start splits them.
    const bool quote = i > 0 && (args[i].empty() || args[i].find(' ') != std::string::npos);
    line += quote ? "\"" + args[i] + "\"" : args[i];
  }
  return line;
}

bool IsMoveLine(std::string_view line) {
  if (GetWord(line, 1) == "move") return !GetWord(line, 2).empty();
  return GetWord(line, 2) == "..." && !GetWord(line, 3).empty() &&
         ((line[0] >= '0' && line[0] <= '9') || line[0] == '.');
}

// Answers and records the pairs of a feature line; false for another line.
// `done` tells what done=0 or done=1 said.
bool TakeFeatureLine(ChildProcess& engine, std::string_view line, ProbeFindings& findings,
                     std::optional<bool>& done) {
  if (GetWord(line, 1) != "feature") return false;
  findings.protover2 = true;
  for (FeaturePair& pair : SplitFeatureLine(line)) {
    engine.Write("accepted " + pair.name + "\n");
    if (pair.name != "done") {
      findings.features.push_back(std::move(pair));
    } else if (pair.value == "0" || pair.value == "1") {
      done = pair.value == "1";
    }
  }
  return true;
}

// Reads feature lines until done=1, the end of the time allowed, or the
// engine's end.
void ReadFeatures(ChildProcess& engine, LineQueue& lines, ProbeFindings& findings) {
  Clock::time_point deadline = Clock::now() + kFeatureWait;
  std::string line;
  while (lines.Pop(deadline, line)) {
    std::optional<bool> done;
    if (!TakeFeatureLine(engine, Trim(line), findings, done)) continue;
    if (done == true) return;
    if (done == false) deadline = Clock::now() + kFeatureListWait;
  }
}

// Waits for a move; features that arrive meanwhile are taken as a late
// answer to "protover 2".
bool MoveWithin(ChildProcess& engine, LineQueue& lines, ProbeFindings& findings,
                milliseconds bound) {
  const Clock::time_point deadline = Clock::now() + bound;
  std::string line;
  while (lines.Pop(deadline, line)) {
    std::optional<bool> done;
    if (TakeFeatureLine(engine, Trim(line), findings, done)) {
      findings.answeredLate = true;
    } else if (IsMoveLine(Trim(line))) {
      return true;
    }
  }
  return false;
}

// A first-version engine shows itself by answering "go" with a move. Asked
// as Vantro asks, with the lines together, and then one line at a time, for
// engines that lose lines arriving together.
bool AnswersWithMove(ChildProcess& engine, LineQueue& lines, ProbeFindings& findings) {
  static constexpr const char* kCommands[] = {"new\n", "st 1\n", "go\n"};
  engine.Write(std::string(kCommands[0]) + kCommands[1] + kCommands[2]);
  if (MoveWithin(engine, lines, findings, kMoveWait)) return true;
  for (const char* command : kCommands) {
    engine.Write(command);
    std::this_thread::sleep_for(kLinePause);
  }
  return MoveWithin(engine, lines, findings, kPacedMoveWait) || findings.answeredLate;
}

}  // namespace

bool ProbeEngine(const std::vector<std::string>& args, ProbeFindings& findings,
                 std::string& error) {
  findings = ProbeFindings{};
  findings.commandLine = CommandLine(args);
  ChildProcess engine;
  if (args.empty() || engine.Start(findings.commandLine) == 0) {
    error = "cannot start the engine \"" + findings.commandLine + "\"";
    return false;
  }
  LineQueue lines;
  LineReaderThread reader;
  reader.SetInput(engine.TakeOutput());
  reader.SetCallback([&lines](std::string_view line) { return lines.Push(line); });
  reader.SetOnEnd([&lines] { lines.End(); });
  reader.Start(0);

  engine.Write("xboard\nprotover 2\n");
  ReadFeatures(engine, lines, findings);
  bool speaks = findings.protover2 || AnswersWithMove(engine, lines, findings);
  if (!speaks) {
    error = lines.Ended()
                ? "the engine \"" + findings.commandLine + "\" ended without a word of xboard"
                : "the engine \"" + findings.commandLine +
                      "\" answered neither \"protover 2\" nor \"go\" as an xboard engine does";
  }
  engine.Write("quit\n");
  engine.Close(true);
  reader.Stop();
  return speaks;
}

int RunProbe(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs("vantro: --probe needs the engine's program, e.g. vantro --probe fairymax\n",
               stderr);
    return 2;
  }
  ProbeFindings findings;
  std::string error;
  if (!ProbeEngine(args, findings, error)) {
    std::fprintf(stderr, "vantro: %s\n", error.c_str());
    return 1;
  }
  unsigned cores = std::thread::hardware_concurrency();
  std::string text = ProbeDefinitionText(findings, cores == 0 ? 1 : cores);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace vantro
