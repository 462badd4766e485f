#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "settings/mate_score.h"

namespace vantro {

// The text that stands for "no value" in string settings and the identity.
inline constexpr std::string_view kEmptyText = "<empty>";

enum EditStyle : int { kEditSetboard = 0, kEditEdit = 1, kEditCbEdit = 2 };
enum LevelExtendPolicy : int {
  kLevelProgressive = 0,
  kLevelStrict = 1,
  kLevelFailsafe = 2,
  kLevelNone = 3,
};
// How a fixed time per move reaches the engine: "st", a control of one move
// in that time with the clock sent, or a clock many moves long (engines that
// budget a small share of any limit); a move-now ends each at the time.
enum MoveTimeStyle : int { kMoveTimeSt = 0, kMoveTimeLevel = 1, kMoveTimeClock = 2 };

// The range each integer option is announced with; values are kept inside it.
struct SpinRange {
  int min;
  int max;
};
inline constexpr SpinRange kHashRange{0, 256}, kInitTimeRange{0, 30}, kDelayRange{0, 1000},
    kLevelTypeRange{1, 2}, kSlowDownRange{1, 100}, kProtocolRange{1, 2}, kNoiseRange{-1, 99};

// Every adapter setting, one field per key, with its default. Strings are
// written and read only on the start-up path and the GUI thread; integers and
// flags are also read (and a few written: EDIT and ANALYZE by the engine's
// features, NOISE by the search) on other threads, so they are atomic.
struct Settings {
  std::string program{kEmptyText};
  std::string initString{kEmptyText};   // escapes decoded
  std::string hashCommand{kEmptyText};  // escapes decoded, holds "%i" when set
  std::string hashFormula;              // upper-cased
  std::string moveNow{"?"};             // escapes decoded: the engine's "move now"
  std::string exitAnalysis{"exit"};     // escapes decoded: what ends an analysis
  // Escapes decoded: a line the engine ignores, repeated alone at its start
  // until it first speaks (for engines that read their first lines late).
  std::string nudge{kEmptyText};
  std::atomic<int> hash{2};
  std::atomic<bool> hashOnCommandLine{false};
  std::atomic<int> initTime{2};  // seconds
  std::atomic<int> delay{0};     // milliseconds before each line to the engine
  std::atomic<int> levelType{1};
  std::atomic<int> slowDown{1};
  std::atomic<int> protocol{2};
  std::atomic<int> edit{kEditSetboard};
  std::atomic<int> priority{0};  // a Win32 thread priority for the engine
  std::atomic<bool> analyze{true};
  std::atomic<bool> useUndo{true};
  std::atomic<bool> runIdle{false};
  std::atomic<bool> computer{false};
  std::atomic<bool> showThinkingMove{false};
  std::atomic<bool> terminateHard{false};
  std::atomic<bool> ponder{true};
  std::atomic<int> levelExtend{kLevelNone};
  std::atomic<int> moveTime{kMoveTimeSt};
  std::atomic<bool> whiteScore{false};
  std::atomic<bool> simulateHint{false};
  std::atomic<bool> ownBook{false};
  std::atomic<int> noise{0};
  // MATESCORE, read on the engine reader thread field by field.
  std::atomic<int> mateConstant{MateConvention{}.constant};
  std::atomic<bool> mateFalling{MateConvention{}.falling};
  std::atomic<bool> mateInPlies{MateConvention{}.plies};
  // ENGINEOPTIONS: start the engine at "uci" and offer the options it announces.
  std::atomic<bool> engineOptions{false};

  MateConvention MateScore() const { return {mateConstant, mateFalling, mateInPlies}; }

  // Identity and visibility, from the definition file.
  std::string engineAuthor{kEmptyText};
  bool visibilityRestricted = false;
  std::vector<std::string> visibleOptions;

  // The engine name is also set by the engine's "myname" feature on the
  // engine reader thread, so it is guarded.
  std::string EngineName() const {
    std::lock_guard lock(nameMutex_);
    return engineName_;
  }
  void SetEngineName(std::string name) {
    std::lock_guard lock(nameMutex_);
    engineName_ = std::move(name);
  }

 private:
  mutable std::mutex nameMutex_;
  std::string engineName_{kEmptyText};
};

// True when a string setting holds a value ("" and "<empty>" are unset).
inline bool IsSet(std::string_view value) {
  return !value.empty() && value != kEmptyText;
}

// What applying a setting may set in motion beyond storing it. The settings
// code calls these; the adapter implements them against the running engine,
// the log and the status timer. Tests substitute a recorder.
class SettingActions {
 public:
  virtual ~SettingActions() = default;
  virtual void HashChanged() = 0;         // tell a running engine the new hash size
  virtual void NoiseChanged() = 0;        // "post" or "nopost" to a running engine
  virtual void SlowDownChanged() = 0;     // bring the spin threads to SLOWDOWN - 1
  virtual void PonderSet() = 0;           // "hard" or "hard\neasy" to a running engine
  virtual void ComputerSet(bool on) = 0;  // "computer" to a running engine when on
  // Called before the new value is stored (stop the status timer) and after
  // (status poll off, timer started when on).
  virtual void ShowThinkingMoveChanging() = 0;
  virtual void ShowThinkingMoveSet(bool on) = 0;
  virtual void LogFileSet(bool on) = 0;
  virtual void OpenHelp() = 0;
  // A name that is no setting key: an engine-specific option.
  virtual void SetEngineOption(const std::string& name, const std::string& value) = 0;
};

// True when `name` is a setting key (in any letter case), so that a
// "setoption" with it sets the setting and never an engine option.
bool IsSettingKey(std::string_view name);

// Applies one option command ("setoption name <name> [value <value>]"); the
// first two words are not examined. Keys match without regard to case.
void ApplySetting(std::string_view line, Settings& settings, SettingActions& actions);

}  // namespace vantro
