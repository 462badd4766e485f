#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "platform/line_reader_thread.h"
#include "platform/priority.h"

namespace vantro {

namespace {

constexpr DWORD kReadBlockBytes = 4096;
// A stop can reach the thread just before it enters ReadFile, where the
// cancel finds nothing to cancel; it is repeated at this interval.
constexpr int kCancelRetryMs = 10;

// The state of the reader whose thread this is, so that a Stop from its own
// callback is recognised without touching members of the controlling thread.
thread_local const void* ownReader = nullptr;

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
  // The reading thread, whose blocked ReadFile a stop cancels; under mutex.
  UniqueHandle thread;
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
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (shared_->thread.Valid()) CancelSynchronousIo(reinterpret_cast<HANDLE>(shared_->thread.Get()));
}

void LineReaderThread::Stop(int waitMs) {
  if (ownReader == shared_.get()) {
    // From its own callback: the loop ends when the callback returns, and the
    // controlling thread joins it later.
    shared_->stop.store(true);
    return;
  }
  if (!thread_.joinable()) return;
  bool finished = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (!finished && std::chrono::steady_clock::now() < deadline) {
    RequestStop();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    finished = shared_->finished.wait_for(lock, std::chrono::milliseconds(kCancelRetryMs),
                                          [this] { return !shared_->active; });
  }
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
  HANDLE input;
  Callback callback;
  std::function<void()> onEnd;
  std::function<void()> afterRead;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    owned = std::move(shared->ownedInput);
    input = reinterpret_cast<HANDLE>(owned.Valid() ? owned.Get() : shared->borrowedInput);
    callback = shared->callback;
    onEnd = shared->onEnd;
    afterRead = shared->afterRead;
    HANDLE self = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0,
                        FALSE, DUPLICATE_SAME_ACCESS)) {
      shared->thread.Reset(reinterpret_cast<NativeHandle>(self));
    }
  }

  std::string line;
  bool overlong = false;  // dropping the rest of a line past kMaxLineBytes
  char block[kReadBlockBytes];
  bool reading = input != reinterpret_cast<HANDLE>(kNoHandle);
  while (reading && !shared->stop.load()) {
    DWORD got = 0;
    if (!ReadFile(input, block, sizeof block, &got, nullptr)) {
      // A cancel by Stop is checked by the loop; anything else (the writer
      // has gone, a broken handle) ends the input.
      if (GetLastError() == ERROR_OPERATION_ABORTED) continue;
      break;
    }
    if (got == 0) break;  // end of input; an unfinished last line is not handed on
    for (DWORD i = 0; i < got && reading; ++i) {
      char byte = block[i];
      if (byte == '\n') {
        if (shared->stop.load()) {
          reading = false;
        } else if (!overlong && callback && !callback(line)) {
          reading = false;
        }
        line.clear();
        overlong = false;
      } else if (byte != '\r' && !overlong) {
        line.push_back(byte);
        if (line.size() > LineReaderThread::kMaxLineBytes) {
          line.clear();
          line.shrink_to_fit();
          overlong = true;
        }
      }
    }
    if (afterRead) afterRead();
  }

  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->thread.Reset();
  }
  owned.Reset();
  shared->loopEnded.store(true);
  if (onEnd) onEnd();
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->active = false;
  shared->finished.notify_all();
}

}  // namespace vantro
