#include <windows.h>

#include "platform/priority.h"

namespace vantro {

// The priority values are Win32's own, so they go to the system unchanged.

std::uint32_t GetOwnPriorityClass() {
  DWORD priorityClass = ::GetPriorityClass(GetCurrentProcess());
  return priorityClass != 0 ? priorityClass : kNormalPriorityClass;
}

int GetOwnThreadPriority() {
  int priority = ::GetThreadPriority(GetCurrentThread());
  return priority != THREAD_PRIORITY_ERROR_RETURN ? priority : kThreadPriorityNormal;
}

bool SetOwnPriorityClass(std::uint32_t priorityClass) {
  return ::SetPriorityClass(GetCurrentProcess(), priorityClass) != 0;
}

bool SetOwnThreadPriority(int threadPriority) {
  return ::SetThreadPriority(GetCurrentThread(), threadPriority) != 0;
}

}  // namespace vantro
