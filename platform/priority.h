#pragma once

#include <cstdint>

namespace vantro {

// Priorities keep the Win32 model: process priority classes and thread
// priorities with their Win32 values. Each platform maps them to its own
// scheduler inside the layer (POSIX: nice values).
inline constexpr std::uint32_t kIdlePriorityClass = 0x40;
inline constexpr std::uint32_t kBelowNormalPriorityClass = 0x4000;
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kAboveNormalPriorityClass = 0x8000;
inline constexpr std::uint32_t kHighPriorityClass = 0x80;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;

inline constexpr int kThreadPriorityIdle = -15;
inline constexpr int kThreadPriorityLowest = -2;
inline constexpr int kThreadPriorityBelowNormal = -1;
inline constexpr int kThreadPriorityNormal = 0;
inline constexpr int kThreadPriorityAboveNormal = 1;
inline constexpr int kThreadPriorityHighest = 2;
inline constexpr int kThreadPriorityTimeCritical = 15;

// The nice value a class and a thread priority map to, and back.
int NiceForPriority(std::uint32_t priorityClass, int threadPriority);
std::uint32_t PriorityClassForNice(int nice);

// The calling process's class and the calling thread's priority.
std::uint32_t GetOwnPriorityClass();
int GetOwnThreadPriority();
// Failures (for example an unprivileged process raising its priority) are
// reported by the result and otherwise ignored by every caller.
bool SetOwnPriorityClass(std::uint32_t priorityClass);
bool SetOwnThreadPriority(int threadPriority);

}  // namespace vantro
