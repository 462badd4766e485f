#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "platform/line_reader_thread.h"
#include "platform/priority.h"

namespace vantro {

namespace {

constexpr std::size_t kReadBlockBytes = 4096;

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
  // A byte written here wakes the thread from poll(); both ends non-blocking.
  UniqueHandle wakeRead;
  UniqueHandle wakeWrite;
};

LineReaderThread::LineReaderThread() : shared_(std::make_shared<Shared>()) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {  // without it Start fails
    shared_->wakeRead.Reset(fds[0]);
    shared_->wakeWrite.Reset(fds[1]);
  }
}

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
    if (!shared_->wakeRead.Valid()) return false;
    char drain[64];
    while (::read(static_cast<int>(shared_->wakeRead.Get()), drain, sizeof drain) > 0) {
    }
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
  if (shared_->wakeWrite.Valid()) {
    char byte = 0;
    [[maybe_unused]] ssize_t ignored =
        ::write(static_cast<int>(shared_->wakeWrite.Get()), &byte, 1);
  }
}

void LineReaderThread::Stop(int waitMs) {
  if (ownReader == shared_.get()) {
    // From its own callback: the loop ends when the callback returns, and the
    // controlling thread joins it later.
    RequestStop();
    return;
  }
  if (!thread_.joinable()) return;
  RequestStop();
  bool finished;
  {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    finished = shared_->finished.wait_for(lock, std::chrono::milliseconds(waitMs),
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
  int input;
  Callback callback;
  std::function<void()> onEnd;
  std::function<void()> afterRead;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    owned = std::move(shared->ownedInput);
    input = static_cast<int>(owned.Valid() ? owned.Get() : shared->borrowedInput);
    callback = shared->callback;
    onEnd = shared->onEnd;
    afterRead = shared->afterRead;
  }

  std::string line;
  bool overlong = false;  // dropping the rest of a line past kMaxLineBytes
  char block[kReadBlockBytes];
  bool reading = input >= 0;
  while (reading && !shared->stop.load()) {
    pollfd fds[2] = {{input, POLLIN, 0}, {static_cast<int>(shared->wakeRead.Get()), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0 || (fds[0].revents & POLLNVAL) != 0) break;
    if (fds[0].revents == 0) continue;
    ssize_t got = ::read(input, block, sizeof block);
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      break;
    }
    if (got == 0) break;  // end of input; an unfinished last line is not handed on
    // Whole stretches between line feeds are appended at once, carriage
    // returns left out.
    const char* next = block;
    const char* end = block + got;
    while (next < end && reading) {
      const char* feed = static_cast<const char*>(std::memchr(next, '\n', end - next));
      const char* stretchEnd = feed != nullptr ? feed : end;
      if (!overlong) {
        while (next < stretchEnd) {
          const char* cr = static_cast<const char*>(std::memchr(next, '\r', stretchEnd - next));
          const char* pieceEnd = cr != nullptr ? cr : stretchEnd;
          line.append(next, pieceEnd);
          next = cr != nullptr ? cr + 1 : stretchEnd;
        }
        if (line.size() > LineReaderThread::kMaxLineBytes) {
          line.clear();
          line.shrink_to_fit();
          overlong = true;
        }
      }
      if (feed == nullptr) break;
      next = feed + 1;
      if (shared->stop.load()) {
        reading = false;
      } else if (!overlong && callback && !callback(line)) {
        reading = false;
      }
      line.clear();
      overlong = false;
    }
    if (afterRead) afterRead();
  }

  owned.Reset();
  shared->loopEnded.store(true);
  if (onEnd) onEnd();
  std::lock_guard<std::mutex> lock(shared->mutex);
  shared->active = false;
  shared->finished.notify_all();
}

}  // namespace vantro
