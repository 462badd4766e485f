#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "platform/process_env.h"

namespace vantro {

namespace {

NativeHandle StandardHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return kNoHandle;
  return reinterpret_cast<NativeHandle>(handle);
}

}  // namespace

// The protocols end lines with LF; the runtime's text mode would turn each
// into CR LF on output, which some GUIs show as an empty extra line.
// Not inherited either: an engine holding the GUI's pipes would keep them
// open after the adapter has gone.
void PrepareStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
      SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
  }
}

NativeHandle StandardInput() {
  return StandardHandle(STD_INPUT_HANDLE);
}

NativeHandle StandardOutput() {
  return StandardHandle(STD_OUTPUT_HANDLE);
}

bool WriteAll(NativeHandle handle, std::string_view data) {
  if (handle == kNoHandle) return false;
  while (!data.empty()) {
    DWORD chunk = data.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(data.size());
    DWORD written = 0;
    if (!WriteFile(reinterpret_cast<HANDLE>(handle), data.data(), chunk, &written, nullptr)) {
      return false;  // ERROR_NO_DATA or ERROR_BROKEN_PIPE: the reader has gone
    }
    data.remove_prefix(written);
  }
  return true;
}

// Anonymous pipes take no timeout: a reader that takes nothing blocks the
// write here, as a blocking descriptor does.
WriteResult WriteAllWithin(NativeHandle handle, std::string_view data, int /*stallMs*/) {
  return WriteAll(handle, data) ? WriteResult::kDone : WriteResult::kFailed;
}

void OpenWithDesktop(const std::string& path) {
  ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SleepMs(std::uint32_t milliseconds) {
  Sleep(milliseconds);
}

std::string ExecutableDirectory() {
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return {};
  std::string exe(path, n);
  std::size_t slash = exe.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

}  // namespace vantro
