#include "platform/line_reader_thread.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "platform/priority.h"
#include "platform/reader_wake.h"

namespace vantro {

namespace {

constexpr std::size_t kReadBlockBytes = 4096;
// How often a stop repeats its wake while it waits: on Windows a wake just
// before the thread enters its read finds nothing to cancel.
constexpr int kWakeRetryMs = 10;

// The state of the reader whose thread this is, so that a Stop from its own
// callback is recognised without touching members of the controlling thread.
thread_local const void* ownReader = nullptr;

// Cuts blocks into lines: carriage returns dropped, a line past the limit
// dropped whole.
class LineCutter {
 public:
  // Hands each finished line on while `handOn` returns true; false once it
  // has not.
  template <typename HandOn>
  bool Cut(const char* next, const char* end, HandOn&& handOn) {
    while (next < end) {
      const char* feed = static_cast<const char*>(std::memchr(next, '\n', end - next));
      const char* stretchEnd = feed != nullptr ? feed : end;
      if (!overlong_) {
        while (next < stretchEnd) {
          const char* cr = static_cast<const char*>(std::memchr(next, '\r', stretchEnd - next));
          line_.append(next, cr != nullptr ? cr : stretchEnd);
          next = cr != nullptr ? cr + 1 : stretchEnd;
        }
        if (line_.size() > LineReaderThread::kMaxLineBytes) {
          line_.clear();
          line_.shrink_to_fit();
          overlong_ = true;
        }
      }
      if (feed == nullptr) break;
      next = feed + 1;
      bool go = overlong_ || handOn(std::string_view(line_));
      line_.clear();
      overlong_ = false;
      if (!go) return false;
    }
    return true;
  }

 private:
  std::string line_;
  bool overlong_ = false;
};

}  // namespace

struct LineReaderThread::Shared {
  std::mutex mutex;
  std::condition_variable finished;  // active cleared
  bool active = false;               // a thread runs the loop or OnEnd, also one left alone

  // Set by the controlling thread while no thread is active, then read by the
  // thread, which takes an owned input over.
  UniqueHandle ownedInput;
  NativeHandle borrowedInput = kNoHandle;
  Callback callback;
  std::function<void()> onEnd;
  std::function<void()> afterRead;

  std::atomic<bool> stop{true};
  std::atomic<bool> loopEnded{false};
  std::atomic<bool> stopped{false};
  ReaderWake wake;
};

LineReaderThread::LineReaderThread() : shared_(std::make_shared<Shared>()) {}

LineReaderThread::~LineReaderThread() {
  Stop();
}

void LineReaderThread::SetInput(UniqueHandle input) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->ownedInput = std::move(input);
  shared_->borrowedInput = kNoHandle;
}

void LineReaderThread::SetBorrowedInput(NativeHandle input) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->ownedInput.Reset();
  shared_->borrowedInput = input;
}

void LineReaderThread::SetCallback(Callback callback) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->callback = std::move(callback);
}

void LineReaderThread::SetOnEnd(std::function<void()> onEnd) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->onEnd = std::move(onEnd);
}

void LineReaderThread::SetAfterRead(std::function<void()> afterRead) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->afterRead = std::move(afterRead);
}

bool LineReaderThread::Start(int threadPriority) {
  if (thread_.joinable()) return true;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (shared_->active) return false;  // an earlier thread is still finishing alone
    if (!shared_->wake.Usable()) return false;
    shared_->wake.Forget();
    shared_->stop.store(false);
    shared_->loopEnded.store(false);
    shared_->stopped.store(false);
    shared_->active = true;
  }
  try {
    thread_ = std::thread(&LineReaderThread::Loop, shared_, threadPriority);
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->active = false;
    shared_->stop.store(true);
    return false;
  }
  hasThread_.store(true);
  return true;
}

void LineReaderThread::RequestStop() {
  shared_->stop.store(true);
  shared_->wake.Wake();
}

void LineReaderThread::Stop(int waitMs) {
  if (ownReader == shared_.get()) {
    // From its own callback: the loop ends when the callback returns, and the
    // controlling thread joins it later.
    RequestStop();
    return;
  }
  if (!thread_.joinable()) return;
  bool finished = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  do {
    RequestStop();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    finished = shared_->finished.wait_for(lock, std::chrono::milliseconds(kWakeRetryMs),
                                          [this] { return !shared_->active; });
  } while (!finished && std::chrono::steady_clock::now() < deadline);
  if (finished) {
    thread_.join();
  } else {
    thread_.detach();
  }
  shared_->stopped.store(true);
  hasThread_.store(false);
}

bool LineReaderThread::HasThread() const {
  return hasThread_.load();
}

bool LineReaderThread::LoopEnded() const {
  return shared_->loopEnded.load();
}

bool LineReaderThread::Stopped() const {
  return shared_->stopped.load();
}

bool LineReaderThread::Busy() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->active;
}

void LineReaderThread::Loop(std::shared_ptr<Shared> shared, int threadPriority) {
  SetOwnThreadPriority(threadPriority);
  ownReader = shared.get();
  UniqueHandle owned;
  NativeHandle input;
  Callback callback;
  std::function<void()> onEnd;
  std::function<void()> afterRead;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    owned = std::move(shared->ownedInput);
    input = owned.Valid() ? owned.Get() : shared->borrowedInput;
    callback = shared->callback;
    onEnd = shared->onEnd;
    afterRead = shared->afterRead;
  }
  shared->wake.Enter();

  LineCutter cutter;
  char block[kReadBlockBytes];
  bool reading = input != kNoHandle;
  while (reading && !shared->stop.load()) {
    long got = shared->wake.Read(input, block, sizeof block);
    if (got == ReaderWake::kWoken) continue;
    if (got == 0) break;  // end of input; an unfinished last line is not handed on
    reading = cutter.Cut(block, block + got, [&](std::string_view line) {
      return !shared->stop.load() && (!callback || callback(line));
    });
    if (afterRead) afterRead();
  }

  shared->wake.Leave();
  owned.Reset();
  shared->loopEnded.store(true);
  if (onEnd) onEnd();
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->active = false;
  shared->finished.notify_all();
}

}  // namespace vantro
