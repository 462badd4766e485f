#include "engine/engine_link.h"

#include <chrono>
#include <utility>

#include "engine/line_io.h"
#include "platform/process_env.h"

namespace vantro {

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
  } else if (running_) {
    process_.Write(held_);  // an engine that died is noticed by its reader
  }
  held_.clear();
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
                                      [&] { return !negotiationOpen_; });
}

void EngineLink::SleepUnlessNegotiationCloses(std::uint32_t ms) {
  std::unique_lock lock(negotiationMutex_);
  negotiationChanged_.wait_for(lock, std::chrono::milliseconds(ms),
                               [&] { return negotiationClosedEvent_ && !negotiationOpen_; });
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
