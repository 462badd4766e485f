#include <windows.h>

#include "platform/unique_handle.h"

namespace vantro {

void UniqueHandle::Reset(NativeHandle handle) {
  if (handle == 0) handle = kNoHandle;
  if (handle_ != kNoHandle && handle_ != handle) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = handle;
}

bool MakePipe(UniqueHandle& readEnd, UniqueHandle& writeEnd) {
  HANDLE readPipe = nullptr;
  HANDLE writePipe = nullptr;
  if (!CreatePipe(&readPipe, &writePipe, nullptr, 0)) return false;  // not inheritable
  readEnd.Reset(reinterpret_cast<NativeHandle>(readPipe));
  writeEnd.Reset(reinterpret_cast<NativeHandle>(writePipe));
  return true;
}

}  // namespace vantro
