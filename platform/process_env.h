#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"

namespace vantro {

// Process-wide set-up, first thing in main: a write to a dead engine's pipe
// must return an error, never end the adapter (POSIX: SIGPIPE is ignored for
// good, so writes skip the guard WriteAll otherwise puts around them), and
// the standard streams carry bytes unchanged (no line-end translation).
void PrepareStandardStreams();

// The process's standard input and output, borrowed: never closed by us.
NativeHandle StandardInput();
NativeHandle StandardOutput();

// Writes all of `data` to `handle`, retrying short and interrupted writes.
// False on error. A broken pipe never raises SIGPIPE: the signal is blocked
// around the write, unless PrepareStandardStreams has made that needless.
bool WriteAll(NativeHandle handle, std::string_view data);

// The same, for a non-blocking handle: gives up when the reader has taken
// nothing for `stallMs` (-1: never).
enum class WriteResult { kDone, kFailed, kStalled };
WriteResult WriteAllWithin(NativeHandle handle, std::string_view data, int stallMs);

// Opens a document with the desktop's default application, detached; the
// outcome is not reported.
void OpenWithDesktop(const std::string& path);

void SleepMs(std::uint32_t milliseconds);

// The directory of the running program, with a trailing separator; empty
// when the system cannot tell.
std::string ExecutableDirectory();

}  // namespace vantro
