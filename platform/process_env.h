#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantro {

// Process-wide set-up: a write to a dead engine's pipe must return an error,
// never end the adapter with SIGPIPE.
void IgnoreBrokenPipeSignal();
// The same for a program that never restores the signal: from then on writes
// skip the guard that WriteAll otherwise puts around them.
void IgnoreBrokenPipeSignalForGood();

// Writes all of `data` to `fd`, retrying short writes and EINTR. False on
// error. A broken pipe never raises SIGPIPE: the signal is blocked around the
// write, unless IgnoreBrokenPipeSignalForGood has made that needless.
bool WriteAll(int fd, std::string_view data);

// Opens a document with the desktop's default application, detached; the
// outcome is not reported.
void OpenWithDesktop(const std::string& path);

void SleepMs(std::uint32_t milliseconds);

// The directory of the running program, with a trailing '/'; empty when the
// system cannot tell.
std::string ExecutableDirectory();

}  // namespace vantro
