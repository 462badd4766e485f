#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Helpers shared by the platform tests: temporary directories, scripts,
// reading a pipe to its end and looking at other processes through /proc.
namespace vantro::test {

// A fresh directory, removed with its contents at the end of the test.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "vantro platform ") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Makes `directory` the current directory until the end of the scope.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& directory)
      : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
  }
  ~ScopedCurrentDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::filesystem::path saved_;
};

inline void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << content;
  chmod(path.c_str(), mode);
}

inline void WriteScript(const std::string& path, const std::string& body) {
  WriteFile(path, "#!/bin/sh\n" + body, 0755);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// Everything `fd` delivers until its end.
inline std::string ReadToEnd(int fd) {
  std::string text;
  char block[4096];
  for (;;) {
    ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(block, static_cast<std::size_t>(got));
  }
}

// Polls `condition` until it holds or `timeout` passes; for states of other
// processes, which nothing signals.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The fields of /proc/<pid>/stat after the command name; [0] is the state,
// [2] the process group, [16] the nice value. Empty when the process is gone.
inline std::vector<std::string> ProcStat(const std::string& procPath) {
  std::string stat = ReadFile(procPath + "/stat");
  std::vector<std::string> fields;
  std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return fields;
  std::istringstream rest(stat.substr(close + 1));
  for (std::string field; rest >> field;) fields.push_back(field);
  return fields;
}
inline std::vector<std::string> ProcStat(int pid) {
  return ProcStat("/proc/" + std::to_string(pid));
}

inline int NiceOf(int pid) {
  std::vector<std::string> fields = ProcStat(pid);
  return fields.size() > 16 ? std::stoi(fields[16]) : 1000;
}

// True once `pid` is no longer a child waiting to be reaped (and so can be no
// zombie of ours). Never reaps it itself.
inline bool IsReaped(int pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 &&
         errno == ECHILD;
}

// Dead: gone from /proc, or a zombie of a parent that is not us.
inline bool IsDead(int pid) {
  std::vector<std::string> fields = ProcStat(pid);
  return fields.empty() || fields[0] == "Z";
}

}  // namespace vantro::test
