#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/nice_posix.h"
#include "platform/priority.h"

namespace vantro {

namespace {

bool SetNiceOf(int id, int nice) {
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(id), nice) == 0) return true;
  return errno == ESRCH;  // the thread ended meanwhile: nothing left to change
}

}  // namespace

int ProcessNice(int pid) {
  errno = 0;
  int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(pid == 0 ? getpid() : pid));
  return (nice == -1 && errno != 0) ? 0 : nice;
}

bool SetProcessNice(int pid, int nice) {
  if (pid == 0) pid = getpid();
#ifdef __linux__
  std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
  if (DIR* dir = opendir(taskDir.c_str())) {
    bool ok = true;
    bool anyThread = false;
    while (const dirent* entry = readdir(dir)) {
      if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
      anyThread = true;
      if (!SetNiceOf(static_cast<int>(std::strtol(entry->d_name, nullptr, 10)), nice)) ok = false;
    }
    closedir(dir);
    if (anyThread) return ok;
  }
#endif
  return setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice) == 0;
}

bool SetThreadNice(int nice) {
#ifdef __linux__
  return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice) == 0;
#else
  (void)nice;
  return false;  // nice belongs to the whole process here
#endif
}

std::uint32_t GetOwnPriorityClass() {
  return PriorityClassForNice(ProcessNice(0));
}

// The thread's share of the nice value cannot be told apart from the class, so
// every thread reads as normal; the class carries the whole value.
int GetOwnThreadPriority() {
  return kThreadPriorityNormal;
}

bool SetOwnPriorityClass(std::uint32_t priorityClass) {
  return SetProcessNice(0, NiceForPriority(priorityClass, kThreadPriorityNormal));
}

bool SetOwnThreadPriority(int threadPriority) {
  return SetThreadNice(NiceForPriority(GetOwnPriorityClass(), threadPriority));
}

}  // namespace vantro
