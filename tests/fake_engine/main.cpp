// fake_engine: a scriptable xboard engine for the end-to-end tests; its
// command line, log and script language are described in docs/testing.md.
#include <fcntl.h>
#include <unistd.h>
#ifndef _WIN32
#include <poll.h>
#endif

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "base/text.h"
#include "engine_io.h"
#include "game_keeper.h"
#include "script.h"

#if defined(__SANITIZE_THREAD__)
// "quit" ends the engine with its input reader still running, on purpose.
extern "C" const char* __tsan_default_options() {
  return "report_thread_leaks=0";
}
#endif

namespace {

using namespace vantro::fake;

// Set by "stop-reading": from then on input stays in the pipe (a block
// already read is still handed on); only the writer's end of the pipe still
// ends the fake.
std::atomic<bool> inputStopped{false};

// Reads and logs the lines of standard input on a thread of its own, so time
// stamps are arrival times even while a rule sleeps, and queues them, or hands
// each to `direct` on that thread. The queue ends with nothing at end of input.
class InputReader {
 public:
  using Handler = std::function<void(const std::string&)>;
  InputReader(EngineIo& io, Handler direct)
      : io_(io), direct_(std::move(direct)), thread_([this] { ReadLoop(); }) {}
  ~InputReader() { thread_.join(); }

  std::optional<std::string> Next() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !lines_.empty(); });
    std::optional<std::string> line = std::move(lines_.front());
    lines_.pop_front();
    return line;
  }

 private:
  static constexpr size_t kMaxLineBytes = 1 << 20;  // the rest of a longer line is dropped

  void ReadLoop() {
    std::string line;
    char buffer[4096];
    ssize_t got;
    while (!inputStopped && ((got = ::read(STDIN_FILENO, buffer, sizeof buffer)) > 0 ||
                             (got < 0 && errno == EINTR))) {
      for (ssize_t i = 0; i < got; ++i) {
        if (buffer[i] == '\n') {
          Deliver(std::exchange(line, {}));
        } else if (line.size() < kMaxLineBytes) {
          line += buffer[i];
        }
      }
    }
#ifdef _WIN32
    while (inputStopped) std::this_thread::sleep_for(std::chrono::milliseconds(100));
#else
    pollfd hangUp{STDIN_FILENO, 0, 0};
    while (inputStopped && (::poll(&hangUp, 1, -1) < 0 || hangUp.revents == 0)) {
    }
#endif
    if (!line.empty()) Deliver(std::move(line));
    io_.Note("eof");
    Queue(std::nullopt);
  }

  void Deliver(std::string line) {
    if (line.ends_with('\r')) line.pop_back();
    io_.Received(line);
    if (direct_) return direct_(line);
    Queue(std::move(line));
  }

  void Queue(std::optional<std::string> line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
    changed_.notify_all();
  }

  EngineIo& io_;
  Handler direct_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::optional<std::string>> lines_;
  std::thread thread_;  // last: starts once everything above is set up
};

void Run(const Action& action, EngineIo& io) {
  if (action.name == "print" || action.name == "print-raw") {
    io.Print(action.text);
  } else if (action.name == "stderr") {
    io.Print(action.text, 2);
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
  for (const std::string& error : script.errors) io.Print("fake_engine: " + error + "\n", 2);
  if (!script.errors.empty()) io.Exit(2);
  return script;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
  // A reader that has gone away must not kill the fake before it logs the rest.
  std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef _WIN32
  // The bytes as the adapter sent them: no CR LF translation either way.
  for (int fd : {0, 1, 2}) _setmode(fd, _O_BINARY);
#endif
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
  const auto handle = [&](const std::string& line) {
    const std::string_view word = vantro::GetWord(line, 1);
    for (const Rule& rule : script.rules) {
      if (rule.word == "*" || rule.word == word) Run(rule.action, io);
    }
    if (game) game->OnLine(line);
  };
  const auto runStart = [&] {
    for (const Action& action : script.startActions) Run(action, io);
  };
  // Instant mode answers on the reading thread once the start actions are
  // done; otherwise lines are logged at arrival even while those run.
  if (script.instant) runStart();
  InputReader input(io, script.instant ? InputReader::Handler(handle) : nullptr);
  if (!script.instant) runStart();
  while (const std::optional<std::string> line = input.Next()) handle(*line);
  game.reset();
  io.Exit(0);
}
