#include "search/time_control.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "settings/settings.h"

namespace vantro {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMsPerMinute = 60000;
// The engine's clock may lag the GUI's by this much before a new control is sent.
constexpr std::int64_t kResendWindowMs = 20000;
// Rounds the base up to whole minutes generously, so a clock just under a
// minute boundary keeps that minute.
constexpr std::int64_t kMinuteRoundingMs = 3000;
constexpr std::int64_t kSecondRoundingMs = 500;
// The control for a side without a clock: one day.
constexpr int kNoClockMinutes = 1440;
constexpr int kNoClockBaseSeconds = 86400;
constexpr int kSetLevelType = 2;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Whole units of `numerator`, where a negative numerator counts as none.
std::int64_t WholeUnits(std::int64_t numerator, std::int64_t unit) {
  return numerator < 0 ? 0 : numerator / unit;
}

std::string Format(const char* format, auto... args) {
  char buffer[96];  // room for the longest command with five 32-bit numbers
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return std::string(buffer,
                     static_cast<std::size_t>(std::clamp<int>(length, 0, sizeof buffer - 1)));
}

}  // namespace

TimeControlDecision DecideTimeControl(const TimeControlInput& input, const LevelMemory& memory) {
  TimeControlDecision decision;
  decision.memory = memory;
  const GoRequest& go = input.go;
  const std::int64_t engineTime = input.engineTime;
  const std::int64_t levelIncrementMs = std::int64_t{memory.increment} * kMsPerSecond;
  // A full set-up has just reset the search stopwatch.
  const std::int64_t remaining = input.fullReset ? 0 : input.remainingMs;

  if (!input.fullReset && !input.mustSend) {
    if (input.levelExtend == kLevelNone) return decision;
    if (remaining + levelIncrementMs >= engineTime - kResendWindowMs) return decision;
  }

  std::int64_t moves = 0;
  if (go.movestogo >= 0) moves = (std::int64_t{input.newCount} - input.oldCount) / 2 + go.movestogo;

  const int increment = input.whiteToMove ? go.winc : go.binc;
  const std::int64_t incrementSeconds =
      increment > 0 ? (increment + kSecondRoundingMs) / kMsPerSecond : 0;

  const std::int64_t earned =
      input.fullReset ? std::int64_t{input.newCount / 2} * incrementSeconds * kMsPerSecond : 0;

  std::int64_t minutes = kNoClockMinutes;
  std::int64_t seconds = 0;
  if (engineTime >= 0) {
    // The engine is still owed the increment of the control it was last sent.
    const std::int64_t available = engineTime - levelIncrementMs - remaining;
    minutes = WholeUnits(available - earned + kMinuteRoundingMs, kMsPerMinute);
    if (minutes == 0) seconds = WholeUnits(available + kSecondRoundingMs, kMsPerSecond);
  }

  if (input.levelExtend == kLevelStrict && moves > 0) {
    const std::int64_t played = input.newCount / 2;
    if (played % moves != 0) moves = played + go.movestogo;
  }

  const int newMoves = ClampToInt(moves);
  const int newMinutes = ClampToInt(minutes);
  const int newIncrement = ClampToInt(incrementSeconds);
  const bool unchanged =
      newMoves == memory.moves && newMinutes == memory.minutes && newIncrement == memory.increment;
  if (!(unchanged && !input.fullReset && !input.mustSend)) {
    if (input.levelExtend == kLevelFailsafe && !input.fullReset) {
      decision.action = TimeControlDecision::Action::kRestartGame;
      return decision;
    }
    std::int64_t base = minutes * 60 + seconds;
    // Engines reject a control of no time at all or exit on it; the real,
    // nearly empty clock still reaches them through "time".
    if (base == 0 && incrementSeconds == 0) base = 1;
    decision.action = TimeControlDecision::Action::kSendLevel;
    decision.moves = newMoves;
    decision.baseSeconds = ClampToInt(base);
    decision.incrementSeconds = newIncrement;
  }

  // The memory holds whole minutes, so the 1 s of the zero-control mend is
  // recorded as 0 minutes, exactly what the next go computes for that clock.
  decision.memory.moves = newMoves;
  decision.memory.minutes = std::min(memory.minutes, newMinutes);
  decision.memory.increment = newIncrement;
  return decision;
}

std::string LevelCommand(int levelType, int moves, int baseSeconds, int incrementSeconds) {
  if (levelType == kSetLevelType) {
    if (baseSeconds == kNoClockBaseSeconds) return DepthCommand(levelType, kUnlimitedDepth);
    if (moves != 0) return Format("setlevel 1 %d %d %d %d", moves, baseSeconds, moves, baseSeconds);
    return Format("setlevel 5 %d %d", baseSeconds, incrementSeconds);
  }
  if (baseSeconds >= 60) return Format("level %d %d %d", moves, baseSeconds / 60, incrementSeconds);
  return Format("level %d 0:%02d %d", moves, baseSeconds, incrementSeconds);
}

std::string DepthCommand(int levelType, int depth) {
  if (levelType == kSetLevelType) return Format("setlevel 0 %d", depth);
  return Format("sd %d", depth);
}

std::string MoveTimeCommand(int movetimeMs) {
  if (movetimeMs <= 0) return {};
  const std::int64_t seconds = (std::int64_t{movetimeMs} + kMsPerSecond - 1) / kMsPerSecond;
  return Format("st %d", ClampToInt(std::max<std::int64_t>(seconds, 1)));
}

void SendLevel(EngineLink& engine, const Settings& settings, int moves, int baseSeconds,
               int incrementSeconds) {
  engine.SendToEngine(LevelCommand(settings.levelType, moves, baseSeconds, incrementSeconds));
}

}  // namespace vantro
