#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/child_process.h"
#include "platform/priority.h"
#include "platform/process_env.h"

namespace vantro {

namespace {

HANDLE Native(const UniqueHandle& handle) {
  return reinterpret_cast<HANDLE>(handle.Get());
}

// A pipe whose child end is inheritable and whose adapter end is not: were
// the adapter's write end inherited too, the child would hold its own input
// open and never see its end.
bool MakeChildPipe(UniqueHandle& readEnd, UniqueHandle& writeEnd, bool childReads) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readPipe = nullptr;
  HANDLE writePipe = nullptr;
  if (!CreatePipe(&readPipe, &writePipe, &inheritable, 0)) return false;
  readEnd.Reset(reinterpret_cast<NativeHandle>(readPipe));
  writeEnd.Reset(reinterpret_cast<NativeHandle>(writePipe));
  HANDLE adapterEnd = childReads ? writePipe : readPipe;
  return SetHandleInformation(adapterEnd, HANDLE_FLAG_INHERIT, 0) != 0;
}

// A program found in the command line is named in quotes, so that blanks in
// its path cannot make the system start another file; otherwise the line
// goes unchanged and the system searches for the program itself.
std::string ProcessCommandLine(std::string_view commandLine,
                               const std::optional<ProgramLocation>& location) {
  if (!location) return std::string(commandLine);
  return "\"" + location->file + "\"" + location->arguments;
}

// One word as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

}  // namespace

// The process and its main thread; the process handle is signalled at its exit.
struct ChildProcess::ExitWatch {
  UniqueHandle process;
  UniqueHandle thread;
};

int ChildProcess::Start(std::string_view commandLine) {
  std::optional<ProgramLocation> location = FindProgram(commandLine);
  Invocation run;
  if (location) run.directory = location->directory;
  return Launch(ProcessCommandLine(commandLine, location), run);
}

int ChildProcess::Start(const Invocation& run) {
  std::string line = Quoted(run.program);
  for (const std::string& arg : run.args) line += " " + Quoted(arg);
  return Launch(std::move(line), run);
}

int ChildProcess::Launch(std::string line, const Invocation& run) {
  if (processId_ > 0) Close(false);
  if (line.empty()) return 0;

  UniqueHandle childInput, toChild, fromChild, childOutput, errorFile;
  if (!MakeChildPipe(childInput, toChild, true) || !MakeChildPipe(fromChild, childOutput, false)) {
    return 0;
  }
  if (!run.errorFile.empty()) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    errorFile.Reset(reinterpret_cast<NativeHandle>(
        CreateFileA(run.errorFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inheritable, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!errorFile.Valid()) return 0;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Native(childInput);
  startup.hStdOutput = Native(childOutput);
  startup.hStdError = Native(errorFile.Valid() ? errorFile : childOutput);
  PROCESS_INFORMATION info{};
  // Its own group keeps the GUI's Ctrl+C away from the engine; suspended,
  // so that its main thread runs at the wanted priority from the start.
  DWORD flags = priorityClass_ | CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS | CREATE_SUSPENDED;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                      run.directory.empty() ? nullptr : run.directory.c_str(), &startup, &info)) {
    return 0;
  }
  auto watch = std::make_shared<ExitWatch>();
  watch->process.Reset(reinterpret_cast<NativeHandle>(info.hProcess));
  watch->thread.Reset(reinterpret_cast<NativeHandle>(info.hThread));
  ::SetThreadPriority(info.hThread, threadPriority_);
  ResumeThread(info.hThread);

  processId_ = static_cast<int>(info.dwProcessId);
  stallMs_ = run.stallMs;
  exitWatch_ = std::move(watch);
  writeToChild_ = std::move(toChild);
  readFromChild_ = std::move(fromChild);
  // The child's ends close here: only the child holds them now, so its exit
  // ends our reads.
  return processId_;
}

// Closing the engine's input adds end-of-file, which engines also take as a
// request to end; with terminateHard an engine that is still running after
// kTerminateWaitMs is terminated.
void ChildProcess::Close(bool terminateHard) {
  writeToChild_.Reset();
  if (processId_ > 0 && terminateHard && exitWatch_) {
    HANDLE process = Native(exitWatch_->process);
    if (WaitForSingleObject(process, kTerminateWaitMs) != WAIT_OBJECT_0) {
      TerminateProcess(process, 0);
      WaitForSingleObject(process, kKillWaitMs);
    }
  }
  readFromChild_.Reset();
  exitWatch_.reset();
  processId_ = 0;
}

void ChildProcess::Kill() {
  if (processId_ <= 0 || !exitWatch_) return;
  HANDLE process = Native(exitWatch_->process);
  if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) TerminateProcess(process, 1);
}

std::optional<std::string> ChildProcess::EndDescription(int ms) {
  if (!exitWatch_) return {};
  HANDLE process = Native(exitWatch_->process);
  if (WaitForSingleObject(process, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return {};
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return "exited";
  return "exited with status " + std::to_string(code);
}

// A process ends with a code only, also when it was terminated.
std::optional<int> ChildProcess::ExitStatus(int ms) {
  if (!exitWatch_) return {};
  HANDLE process = Native(exitWatch_->process);
  DWORD code = 0;
  if (WaitForSingleObject(process, static_cast<DWORD>(ms)) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process, &code)) {
    return {};
  }
  return static_cast<int>(code);
}

// The process handle stays valid after the exit, so a late change is harmless.
void ChildProcess::ApplyPriority() {
  if (processId_ <= 0 || !exitWatch_) return;
  ::SetPriorityClass(Native(exitWatch_->process), priorityClass_);
  ::SetThreadPriority(Native(exitWatch_->thread), threadPriority_);
}

}  // namespace vantro
