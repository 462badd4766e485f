#pragma once

#include <cstdint>
#include <string>

namespace vantro {

struct Adapter;

// A GUI changes the priority of the process it started, which is the
// adapter; the adapter runs itself at normal priority and passes the
// priority on to the engine.

// Start-up: record the class and thread priority the adapter was started
// with for the engine, and return the adapter itself to normal.
void TakeOverPriority(Adapter& adapter);
// Engine start: idle class under RunIdle, else the wanted class and Priority.
void ApplyEnginePriority(Adapter& adapter);
// Main thread, every few seconds: passes changes of the adapter's own
// priority on to the engine (or stores them for the next start).
void PriorityWatch(Adapter& adapter);

// "normal\n", "idle\n", ..., or the decimal value and "\n".
std::string PriorityClassText(std::uint32_t priorityClass);
std::string ThreadPriorityText(int threadPriority);

}  // namespace vantro
