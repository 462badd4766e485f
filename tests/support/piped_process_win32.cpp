#include <windows.h>

#include "support/piped_process.h"

namespace vantro::test {
namespace {

// One argument as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
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

void PipedProcess::Spawn(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& stderrPath) {
  std::string commandLine = Quoted(program_);
  for (const std::string& arg : args) commandLine += " " + Quoted(arg);
  UniqueHandle inputRead, outputWrite, errorFile;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE pipeEnds[4] = {};
  if (!CreatePipe(&pipeEnds[0], &pipeEnds[1], &inheritable, 0) ||
      !CreatePipe(&pipeEnds[2], &pipeEnds[3], &inheritable, 0)) {
    return;
  }
  inputRead.Reset(reinterpret_cast<NativeHandle>(pipeEnds[0]));
  input_.Reset(reinterpret_cast<NativeHandle>(pipeEnds[1]));
  output_.Reset(reinterpret_cast<NativeHandle>(pipeEnds[2]));
  outputWrite.Reset(reinterpret_cast<NativeHandle>(pipeEnds[3]));
  SetHandleInformation(pipeEnds[1], HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(pipeEnds[2], HANDLE_FLAG_INHERIT, 0);
  errorFile.Reset(reinterpret_cast<NativeHandle>(
      CreateFileA(stderrPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inheritable, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = reinterpret_cast<HANDLE>(inputRead.Get());
  startup.hStdOutput = reinterpret_cast<HANDLE>(outputWrite.Get());
  startup.hStdError = reinterpret_cast<HANDLE>(errorFile.Get());
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW, nullptr, workDir.c_str(),
                      &startup, &info)) {
    Note("cannot start " + commandLine + " in " + workDir + ": error " +
         std::to_string(GetLastError()));
    return;
  }
  CloseHandle(info.hThread);
  process_.Reset(reinterpret_cast<NativeHandle>(info.hProcess));
  pid_ = static_cast<int>(info.dwProcessId);
}

int PipedProcess::WaitForExit() {
  HANDLE process = reinterpret_cast<HANDLE>(process_.Get());
  WaitForSingleObject(process, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  return static_cast<int>(status);
}

void PipedProcess::Kill() {
  TerminateProcess(reinterpret_cast<HANDLE>(process_.Get()), 137);
}

void PipedProcess::ReadLoop() {
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(reinterpret_cast<HANDLE>(output_.Get()), buffer, sizeof buffer, &got, nullptr) &&
         got > 0) {
    AddOutput({buffer, got}, false);
  }
  AddOutput({}, true);
}

}  // namespace vantro::test
