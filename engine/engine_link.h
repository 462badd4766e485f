#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/log.h"
#include "engine/line_io.h"
#include "platform/child_process.h"
#include "platform/line_reader_thread.h"
#include "platform/spin_thread_pool.h"
#include "settings/settings.h"

namespace vantro {

// The connection to the engine process: the process, the only writer to its
// input, the reader of its output, the commands waiting for it, the features
// it declared and the spin threads that slow it down.
class EngineLink {
 public:
  EngineLink(Logger& log, const Settings& settings) : log_(log), settings_(settings) {}
  // An engine of the caller's own (in memory, say) that runs from the start
  // and takes the engine's input; no process is started for it.
  EngineLink(Logger& log, const Settings& settings, ByteSink& engineInput)
      : log_(log), settings_(settings), ownInput_(&engineInput), running_(true) {}

  // Pauses DELAY ms (outside the lock), then logs and writes the line with one
  // write. Empty lines are not sent. Without an engine the line is only logged.
  void SendToEngine(std::string_view line);
  // Hold this thread's lines for one write, as GuiWriter does (the lines of a
  // "go"). Lines paced by DELAY are never held.
  void Hold();
  void Release();

  bool Running() const { return running_; }

  // The engine's output ended without a stop of ours: waits for the engine
  // end early. Gone() stays true from then on.
  void MarkGone();
  bool Gone() const { return gone_; }
  // Set when the adapter ends the engine itself; that end is no news.
  void MarkStopping() { stopping_ = true; }
  bool Stopping() const { return stopping_; }
  // Why the engine ended, for the GUI; waits up to `ms` for its exit.
  std::string EndCause(int ms);
  // In force mode, as far as the commands sent tell: a move alone would not
  // start its search.
  bool InForceMode() const { return forceMode_; }
  // Sleeps `ms` unless the engine is gone meanwhile.
  void SleepUnlessGone(std::uint32_t ms);

  // Starts the process; false when it cannot be started.
  bool StartProcess(std::string_view commandLine);
  // Releases the process (see ChildProcess::Close).
  void CloseProcess(bool terminateHard);
  // The engine's output, for its reader; valid once after a start.
  UniqueHandle TakeOutput();

  // Priority of the engine process: applied at once when it runs, stored for
  // the next start otherwise.
  void SetPriorityClass(std::uint32_t priorityClass);
  void SetThreadPriority(int threadPriority);
  std::uint32_t PriorityClass() const;
  int ThreadPriority() const;

  LineReaderThread reader;
  SpinThreadPool spinPool;
  // Commands produced while no engine runs; sent at the engine start. Used
  // by the start-up path and the GUI thread only.
  std::vector<std::string> pendingCommands;

  // Features the engine declared.
  std::atomic<bool> sanFeature{false};
  std::atomic<bool> usermoveFeature{false};
  std::atomic<bool> colorsFeature{true};
  std::atomic<bool> timeFeature{true};
  std::atomic<bool> smpFeature{false};
  std::atomic<bool> pingFeature{false};

  // The texts of the engine's feature option="..." pairs, collected on the
  // engine reader thread and taken by the GUI thread.
  void AddAnnouncedOption(std::string text);
  std::vector<std::string> TakeAnnouncedOptions();

  // done=0 opens the feature list, done=1 closes it and wakes the start.
  void SetNegotiationOpen(bool open);
  bool NegotiationOpen() const { return negotiationOpen_; }
  // Waits until the feature list is closed, at most `ms`. True when closed.
  bool WaitNegotiationClosed(std::uint32_t ms);
  // Sleeps `ms` but wakes early when the feature list closes.
  void SleepUnlessNegotiationCloses(std::uint32_t ms);

  // The reader notes every engine line; the start may wait for the first.
  void NoteOutput();
  // Waits until the engine has printed a line, at most `ms`. True once it has.
  bool WaitOutput(std::uint32_t ms);

 private:
  Logger& log_;
  const Settings& settings_;
  mutable std::mutex mutex_;  // the process and its input
  void WriteHeld();           // with mutex_ held

  ChildProcess process_;
  ByteSink* ownInput_ = nullptr;
  std::atomic<bool> running_{false};
  std::atomic<bool> gone_{false};
  std::atomic<bool> stopping_{false};
  std::atomic<bool> forceMode_{false};
  bool stuck_ = false;      // took no input for a while and was killed
  std::string held_;        // lines not yet written, with their line feeds
  std::thread::id holder_;  // no thread when nobody holds

  std::mutex announcedMutex_;
  std::vector<std::string> announcedOptions_;

  // Also wakes the waits when the engine is gone.
  std::mutex negotiationMutex_;
  std::condition_variable negotiationChanged_;
  std::atomic<bool> negotiationOpen_{false};
  bool negotiationClosedEvent_ = false;
  std::atomic<bool> heard_{false};  // the engine printed a line since its start
};

}  // namespace vantro
