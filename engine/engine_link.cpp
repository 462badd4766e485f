#include "engine/engine_link.h"

#include <chrono>
#include <utility>

#include "engine/line_io.h"
#include "platform/process_env.h"

namespace vantro {
namespace {

// What each line of `data` does to the engine's force mode.
bool ForceModeAfter(std::string_view data, bool forced) {
  while (!data.empty()) {
    std::size_t end = data.find('\n');
    std::string_view line = data.substr(0, end);
    data = end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
    std::string_view word = line.substr(0, line.find(' '));
    if (word == "force") forced = true;
    if (word == "new" || word == "go" || word == "playother") forced = false;
  }
  return forced;
}

}  // namespace

void EngineLink::SendToEngine(std::string_view line) {
  if (line.empty()) return;
  int delay = settings_.delay;
  if (delay > 0) {
    // An engine that needs pacing loses lines that arrive together: with a
    // delay, every line of a multi-line text goes out on its own.
    std::size_t feed = line.find('\n');
    if (feed != std::string_view::npos && feed + 1 < line.size()) {
      SendToEngine(line.substr(0, feed));
      SendToEngine(line.substr(feed + 1));
      return;
    }
    SleepMs(static_cast<std::uint32_t>(delay));
  }
  std::lock_guard lock(mutex_);
  log_.Log(line, kTagToEngine);
  forceMode_ = ForceModeAfter(line, forceMode_);
  AppendWithLineFeed(held_, line);
  if (delay > 0 || holder_ != std::this_thread::get_id()) WriteHeld();
}

void EngineLink::Hold() {
  std::lock_guard lock(mutex_);
  if (holder_ == std::thread::id()) holder_ = std::this_thread::get_id();
}

void EngineLink::Release() {
  std::lock_guard lock(mutex_);
  if (holder_ != std::this_thread::get_id()) return;
  holder_ = std::thread::id();
  WriteHeld();
}

void EngineLink::WriteHeld() {
  if (held_.empty()) return;
  if (running_ && ownInput_ != nullptr) {
    ownInput_->Write(held_);
  } else if (running_ && !stuck_ && process_.Write(held_) == WriteResult::kStalled) {
    // An engine that takes no input would hold every thread that talks to
    // it; ending it makes its reader report the end. A dead engine's failed
    // write is noticed by its reader too.
    stuck_ = true;
    log_.Log("The engine takes no input; ending it.", kTagConnection);
    process_.Kill();
  }
  held_.clear();
}

void EngineLink::MarkGone() {
  {
    std::lock_guard lock(negotiationMutex_);
    gone_ = true;
  }
  negotiationChanged_.notify_all();
}

std::string EngineLink::EndCause(int ms) {
  std::lock_guard lock(mutex_);
  if (stuck_) return "stopped reading its input and was ended";
  return process_.EndDescription(ms).value_or("closed its output");
}

void EngineLink::SleepUnlessGone(std::uint32_t ms) {
  std::unique_lock lock(negotiationMutex_);
  negotiationChanged_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return gone_.load(); });
}

bool EngineLink::StartProcess(std::string_view commandLine) {
  std::lock_guard lock(mutex_);
  {
    std::lock_guard negotiation(negotiationMutex_);
    negotiationClosedEvent_ = false;
    heard_ = false;
  }
  if (process_.Start(commandLine) == 0) return false;
  running_ = true;
  gone_ = stopping_ = forceMode_ = false;
  stuck_ = false;
  return true;
}

void EngineLink::CloseProcess(bool terminateHard) {
  std::lock_guard lock(mutex_);
  process_.Close(terminateHard);
  running_ = false;
  held_.clear();
}

UniqueHandle EngineLink::TakeOutput() {
  std::lock_guard lock(mutex_);
  return process_.TakeOutput();
}

void EngineLink::SetPriorityClass(std::uint32_t priorityClass) {
  std::lock_guard lock(mutex_);
  process_.SetPriorityClass(priorityClass);
}

void EngineLink::SetThreadPriority(int threadPriority) {
  std::lock_guard lock(mutex_);
  process_.SetThreadPriority(threadPriority);
}

std::uint32_t EngineLink::PriorityClass() const {
  std::lock_guard lock(mutex_);
  return process_.PriorityClass();
}

int EngineLink::ThreadPriority() const {
  std::lock_guard lock(mutex_);
  return process_.ThreadPriority();
}

void EngineLink::AddAnnouncedOption(std::string text) {
  std::lock_guard lock(announcedMutex_);
  announcedOptions_.push_back(std::move(text));
}

std::vector<std::string> EngineLink::TakeAnnouncedOptions() {
  std::lock_guard lock(announcedMutex_);
  return std::exchange(announcedOptions_, {});
}

void EngineLink::SetNegotiationOpen(bool open) {
  {
    std::lock_guard lock(negotiationMutex_);
    negotiationOpen_ = open;
    if (!open) negotiationClosedEvent_ = true;
  }
  negotiationChanged_.notify_all();
}

bool EngineLink::WaitNegotiationClosed(std::uint32_t ms) {
  std::unique_lock lock(negotiationMutex_);
  return negotiationChanged_.wait_for(lock, std::chrono::milliseconds(ms),
                                      [&] { return !negotiationOpen_ || gone_; });
}

void EngineLink::SleepUnlessNegotiationCloses(std::uint32_t ms) {
  std::unique_lock lock(negotiationMutex_);
  negotiationChanged_.wait_for(lock, std::chrono::milliseconds(ms), [&] {
    return (negotiationClosedEvent_ && !negotiationOpen_) || gone_;
  });
}

void EngineLink::NoteOutput() {
  if (heard_.load(std::memory_order_relaxed)) return;
  {
    std::lock_guard lock(negotiationMutex_);
    heard_ = true;
  }
  negotiationChanged_.notify_all();
}

bool EngineLink::WaitOutput(std::uint32_t ms) {
  std::unique_lock lock(negotiationMutex_);
  return negotiationChanged_.wait_for(lock, std::chrono::milliseconds(ms),
                                      [&] { return heard_.load(); });
}

}  // namespace vantro
