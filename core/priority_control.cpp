#include "core/priority_control.h"

#include "core/adapter.h"
#include "platform/priority.h"

namespace vantro {
namespace {

void LogPriorityClass(Adapter& a, std::uint32_t value) {
  a.Log("Priority class set to " + PriorityClassText(value), kTagConnection);
}

void LogThreadPriority(Adapter& a, int value) {
  a.Log("Thread priority set to " + ThreadPriorityText(value), kTagConnection);
}

}  // namespace

std::string PriorityClassText(std::uint32_t value) {
  switch (value) {
    case kNormalPriorityClass:
      return "normal\n";
    case kIdlePriorityClass:
      return "idle\n";
    case kHighPriorityClass:
      return "high\n";
    case kRealtimePriorityClass:
      return "realtime\n";
    default:
      return std::to_string(value) + "\n";
  }
}

std::string ThreadPriorityText(int value) {
  switch (value) {
    case kThreadPriorityTimeCritical:
      return "time critical\n";
    case kThreadPriorityHighest:
      return "highest\n";
    case kThreadPriorityAboveNormal:
      return "above normal\n";
    case kThreadPriorityNormal:
      return "normal\n";
    case kThreadPriorityBelowNormal:
      return "below normal\n";
    case kThreadPriorityLowest:
      return "lowest\n";
    case kThreadPriorityIdle:
      return "idle\n";
    default:
      return std::to_string(value) + "\n";
  }
}

void TakeOverPriority(Adapter& a) {
  std::uint32_t ownClass = GetOwnPriorityClass();
  int ownThread = GetOwnThreadPriority();
  a.wantedEngineClass = ownClass;
  a.settings.priority = ownThread;
  if (ownClass != kNormalPriorityClass) SetOwnPriorityClass(kNormalPriorityClass);
  if (ownThread != kThreadPriorityNormal) SetOwnThreadPriority(kThreadPriorityNormal);
}

void ApplyEnginePriority(Adapter& a) {
  if (a.settings.runIdle) {
    a.engine.SetPriorityClass(kIdlePriorityClass);
    return;
  }
  std::uint32_t wanted = a.wantedEngineClass;
  if (wanted != kNormalPriorityClass) {
    a.engine.SetPriorityClass(wanted);
    LogPriorityClass(a, wanted);
  }
  int priority = a.settings.priority;
  if (priority != kThreadPriorityNormal) {
    a.engine.SetThreadPriority(priority);
    LogThreadPriority(a, priority);
  }
}

void PriorityWatch(Adapter& a) {
  std::uint32_t ownClass = GetOwnPriorityClass();
  int ownThread = GetOwnThreadPriority();
  if (ownClass != kNormalPriorityClass) {
    a.wantedEngineClass = ownClass;
  } else {
    ownClass = a.wantedEngineClass;
  }
  if (ownThread != kThreadPriorityNormal) a.settings.priority = ownThread;
  if (!a.priorityControl || a.settings.runIdle) return;

  if (ownClass != a.engine.PriorityClass()) {
    a.engine.SetPriorityClass(ownClass);
    LogPriorityClass(a, a.wantedEngineClass);
  }
  int priority = a.settings.priority;
  if (priority != a.engine.ThreadPriority()) {
    a.engine.SetThreadPriority(priority);
    LogThreadPriority(a, priority);
  }
}

}  // namespace vantro
