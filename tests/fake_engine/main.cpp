// fake_engine: a scriptable xboard engine for the end-to-end tests; its
// command line, log and script language are described in docs/testing.md.
#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "base/text.h"
#include "engine_io.h"
#include "game_keeper.h"
#include "platform/line_reader_thread.h"
#include "platform/priority.h"
#include "platform/process_env.h"
#include "script.h"

#if defined(__SANITIZE_THREAD__)
// "quit" ends the engine with its input reader still running, on purpose.
extern "C" const char* __tsan_default_options() {
  return "report_thread_leaks=0";
}
#endif

namespace {

using namespace vantro;
using namespace vantro::fake;

// Set by "stop-reading": from then on input stays in the pipe; only the
// writer's end of the pipe still ends the fake.
std::atomic<bool> inputStopped{false};
LineReaderThread input;

// Input lines for the main thread; nothing marks the end of input.
class LineQueue {
 public:
  void Push(std::optional<std::string> line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
    changed_.notify_all();
  }
  std::optional<std::string> Next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !lines_.empty(); });
    std::optional<std::string> line = std::move(lines_.front());
    lines_.pop_front();
    return line;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::optional<std::string>> lines_;
};

void WaitForHangUp() {
#ifdef _WIN32
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
#else
  pollfd hangUp{STDIN_FILENO, 0, 0};
  while (::poll(&hangUp, 1, -1) < 0 || hangUp.revents == 0) {
  }
#endif
}

void Run(const Action& action, EngineIo& io) {
  if (action.name == "print" || action.name == "print-raw") {
    io.Print(action.text);
  } else if (action.name == "stderr") {
    io.Print(action.text, true);
  } else if (action.name == "repeat") {
    std::string block;
    for (int i = 0; i < action.number; ++i) {
      block += action.text;
      if (block.size() >= (1 << 16) || i + 1 == action.number) io.Print(std::exchange(block, {}));
    }
  } else if (action.name == "signal") {
    io.Note("signal", std::to_string(action.number));
    // A sanitizer's own handler would turn the crash into an exit status.
    std::signal(action.number, SIG_DFL);
    std::raise(action.number);
  } else if (action.name == "stop-reading") {
    inputStopped = true;
    input.RequestStop();
  } else if (action.name == "sleep") {
    std::this_thread::sleep_for(std::chrono::milliseconds(action.number));
  } else if (action.name == "exit") {
    io.Exit(action.number);
  }
}

// A faulty script must fail loudly rather than make a test pass by accident.
Script LoadScript(const std::string& path, EngineIo& io) {
  if (path.empty()) return {};
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  Script script = ParseScript(text.str());
  if (!file) script.errors.push_back("cannot read " + path);
  for (const std::string& error : script.errors) io.Print("fake_engine: " + error + "\n", true);
  if (!script.errors.empty()) io.Exit(2);
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareStandardStreams();
  std::string logPath, scriptPath, all;
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    all += (i > 0 ? " " : "") + word;
    if (word == "--log" && i + 1 < argc) logPath = argv[i + 1];
    if (word == "--script" && i + 1 < argc) scriptPath = argv[i + 1];
  }
  EngineIo io(logPath);
  io.Note("args", all);
  std::error_code noCwd;
  io.Note("cwd", std::filesystem::current_path(noCwd).string());

  const Script script = LoadScript(scriptPath, io);
  std::unique_ptr<GameKeeper> game;
  if (script.playMode) game = std::make_unique<GameKeeper>(script, io);
  const auto handle = [&](std::string_view line) {
    const std::string_view word = GetWord(line, 1);
    for (const Rule& rule : script.rules) {
      if (rule.word == "*" || rule.word == word) Run(rule.action, io);
    }
    if (game) game->OnLine(line);
  };
  const auto runStart = [&] {
    for (const Action& action : script.startActions) Run(action, io);
  };
  // Lines are logged on the reading thread, at arrival even while a rule
  // sleeps. Instant mode answers there too, once the start actions are done.
  LineQueue queue;
  input.SetBorrowedInput(StandardInput());
  input.SetCallback([&](std::string_view line) {
    io.Received(line);
    script.instant ? handle(line) : queue.Push(std::string(line));
    return true;
  });
  input.SetOnEnd([&] {
    if (inputStopped) WaitForHangUp();
    io.Note("eof");
    queue.Push(std::nullopt);
  });
  if (script.instant) runStart();
  input.Start(kThreadPriorityNormal);
  if (!script.instant) runStart();
  while (const std::optional<std::string> line = queue.Next()) handle(*line);
  game.reset();
  io.Exit(0);
}
