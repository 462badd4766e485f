#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stopwatch.h"
#include "platform/text_file.h"

namespace vantro {

// The one log, "Vantro.log" in the current directory. It starts holding its
// lines in memory until the Logfile setting (or the first "isready") decides
// whether they go to the file or are dropped. Each line is
// "<seconds>.<ms>: <tag> <text>" with CR LF ends. Callers may hold a writer
// lock while logging; the log takes no other lock than its own.
class Logger {
 public:
  explicit Logger(const Stopwatch& uptime) : uptime_(uptime) {}

  void Log(std::string_view text, std::string_view tag);
  // Opens the file (appending) and writes the held lines, or closes it.
  void ApplyLogFile(bool on);
  // Ends holding and drops what was held.
  void EndHolding();
  void Close();

  bool IsFileOpen() const;
  bool IsHolding() const;

  static constexpr const char* kFileName = "Vantro.log";
  static constexpr std::size_t kMaxHeldBytes = 8u << 20;

 private:
  std::string Prefix(std::string_view tag) const;

  const Stopwatch& uptime_;
  mutable std::mutex mutex_;
  // Holding or a file open; read without the lock, so that a run without a
  // log costs nothing per line.
  std::atomic<bool> active_{true};
  bool holding_ = true;
  std::vector<std::string> held_;
  std::size_t heldBytes_ = 0;
  TextFile file_;
};

// Log tags.
inline constexpr std::string_view kTagAdapter = "** Adapter:";
inline constexpr std::string_view kTagFromGui = "C>";
inline constexpr std::string_view kTagToGui = "C<";
inline constexpr std::string_view kTagFromEngine = "S>";
inline constexpr std::string_view kTagToEngine = "S<";
inline constexpr std::string_view kTagConnection = "S-";
inline constexpr std::string_view kTagPreSetup = "--";
inline constexpr std::string_view kTagDispatcher = "- ";

}  // namespace vantro
