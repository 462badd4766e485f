#include <windows.h>

#include <mutex>

#include "platform/reader_wake.h"

namespace vantro {

struct ReaderWake::State {
  std::mutex mutex;
  // The reading thread, whose blocked ReadFile a wake cancels.
  UniqueHandle thread;
};

ReaderWake::ReaderWake() : state_(std::make_unique<State>()) {}

ReaderWake::~ReaderWake() = default;

bool ReaderWake::Usable() const {
  return true;
}

void ReaderWake::Forget() {}

void ReaderWake::Enter() {
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0,
                       FALSE, DUPLICATE_SAME_ACCESS)) {
    return;
  }
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->thread.Reset(reinterpret_cast<NativeHandle>(self));
}

void ReaderWake::Leave() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->thread.Reset();
}

// A wake that comes just before the thread enters ReadFile cancels nothing;
// the caller repeats it until the thread has ended.
void ReaderWake::Wake() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->thread.Valid()) CancelSynchronousIo(reinterpret_cast<HANDLE>(state_->thread.Get()));
}

long ReaderWake::Read(NativeHandle input, char* block, std::size_t size) {
  DWORD got = 0;
  if (ReadFile(reinterpret_cast<HANDLE>(input), block, static_cast<DWORD>(size), &got, nullptr)) {
    return static_cast<long>(got);
  }
  // The writer has gone or the handle broke: the end of the input.
  return GetLastError() == ERROR_OPERATION_ABORTED ? kWoken : 0;
}

}  // namespace vantro
