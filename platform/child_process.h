#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process_env.h"
#include "platform/unique_handle.h"

namespace vantro {

// The engine's process: its standard input and its standard output plus
// standard error are pipes held here. The child runs in a process group of
// its own, so an interrupt aimed at the adapter's group does not reach it.
// It starts in the directory of its program (FindProgramDirectory) and at the
// stored priority class and thread priority.
//
// What runs: when the longest leading part of the command line names a file
// (FindProgram), that file with the rest of the line as its arguments;
// otherwise the command line as it stands, its program searched for as the
// system does (POSIX: the first word on PATH; Windows: the program's own
// directory, the current one, the system's, then PATH).
//
// Used from the GUI thread (start, stop) and the main thread (priority) and
// kept apart by the caller, as the Win32 original was; Write and Close too are
// serialised by the caller.
class ChildProcess {
 public:
  ChildProcess();   // the stored priority is the caller's own
  ~ChildProcess();  // Close(false)
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `commandLine` (program and arguments, unquoted). Returns the
  // process id, or 0 on failure; a program that cannot be executed is a
  // failure. A process still held is first released as by Close(false).
  int Start(std::string_view commandLine);

  // A start whose words are known one by one, for callers that are not
  // starting an engine from its definition file.
  struct Invocation {
    std::string program;            // searched for as the system does (FindOnPath)
    std::vector<std::string> args;  // each reaches the program as it stands
    std::string directory;          // empty: the current one
    std::string errorFile;          // standard error appended there; empty: with the output
    int stallMs = kStallMs;         // Write's bound (-1: none)
  };
  int Start(const Invocation& run);

  // Ends the use of the process: with `terminateHard`, wait up to
  // kTerminateWaitMs for it to end and kill it after that; then release the
  // pipes. On POSIX the kill also follows without `terminateHard`, after
  // kQuitWaitMs, and the engine dies with the adapter, so none outlives it.
  // A process left running is still reaped when it exits (POSIX), so none
  // becomes a zombie.
  void Close(bool terminateHard);

  // True while a process is held (between a successful Start and Close).
  bool Running() const { return processId_ > 0; }
  int ProcessId() const { return processId_; }

  // One write of the whole text to the child's input. Failures (a child that
  // exited) are reported by the result only; they never end the adapter.
  // A child that takes nothing of it for kStallMs (or its Invocation's
  // bound) is reported as stalled.
  WriteResult Write(std::string_view data);
  // Ends the child's input (it reads end-of-file) and nothing else.
  void CloseInput();

  // Kills the child and its process group at once, unless it has exited.
  void Kill();

  // How the child ended ("exited with status 3", "killed by signal 9
  // (Killed)"), waiting up to `ms` for it; nothing while it runs.
  std::optional<std::string> EndDescription(int ms);
  // The same as a shell's number: the exit status, or 128 + the signal
  // (Windows: the exit code, which a kill sets too).
  std::optional<int> ExitStatus(int ms);

  // Hands the read end of the child's output pipe to its reader, which owns
  // it from then on. Invalid when no process is held or it was taken.
  UniqueHandle TakeOutput();

  void SetPriorityClass(std::uint32_t priorityClass);  // applied if running, stored always
  void SetThreadPriority(int threadPriority);
  std::uint32_t PriorityClass() const { return priorityClass_; }
  int ThreadPriority() const { return threadPriority_; }

  static constexpr int kTerminateWaitMs = 5000;
  static constexpr int kQuitWaitMs = 2000;
  static constexpr int kStallMs = 5000;
  // How long Close waits for a killed process to be gone.
  static constexpr int kKillWaitMs = 1000;

 private:
  struct ExitWatch;
  void ApplyPriority();
  // Windows: where both starts meet, with the command line as the system reads it.
  int Launch(std::string line, const Invocation& run);

  int processId_ = 0;
  int stallMs_ = kStallMs;
  UniqueHandle writeToChild_;
  UniqueHandle readFromChild_;
  std::uint32_t priorityClass_;
  int threadPriority_;
  // Reaps the process when it exits, and tells Close that it has.
  std::shared_ptr<ExitWatch> exitWatch_;
};

// The longest leading part of `commandLine` that names an existing file (the
// name as written, then with ".exe"), as an absolute directory with a
// trailing separator. No result when no leading part names a file.
std::optional<std::string> FindProgramDirectory(std::string_view commandLine);

// The file that the search of FindProgramDirectory finds, with the text that
// follows its name in the command line.
struct ProgramLocation {
  std::string file;         // absolute; with ".exe" when it was found so
  std::string directory;    // the file's directory, with a trailing separator
  std::string arguments;    // the rest of the command line
  bool executable = false;  // a regular file this process may execute (Windows: any file)
};
std::optional<ProgramLocation> FindProgram(std::string_view commandLine);

// The program file for the first word of a split command line, searched for as
// the system does (POSIX: a name with a '/' as it stands, made absolute, else
// the first executable regular file of that name on PATH; Windows: with
// ".exe" added if missing, in the program's directory, the current one, the
// system's, then PATH). No result when none is found.
std::optional<std::string> FindOnPath(std::string_view name);

// Splits a command line as a shell would for the simple cases definition files
// use: blanks separate words, double quotes group them.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace vantro
