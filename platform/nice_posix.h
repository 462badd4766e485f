#pragma once

namespace vantro {

// Nice values of whole processes, for the POSIX implementation files only.
// On Linux a nice value belongs to each thread, so these walk
// /proc/<pid>/task; elsewhere they act on the process as a whole.

// The nice value of process `pid` (0: this process), read from its main
// thread; 0 when it cannot be read.
int ProcessNice(int pid);
// Gives every thread of process `pid` (0: this process) the nice value.
// False when any thread could not be changed.
bool SetProcessNice(int pid, int nice);
// Gives the calling thread the nice value.
bool SetThreadNice(int nice);

}  // namespace vantro
