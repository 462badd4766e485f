#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "search/output_dispatcher.h"
#include "search/position_command.h"
#include "search/search_control.h"
#include "support/memory_records.h"

namespace vantro::test {

// The search records, with GUI output and engine input captured in memory
// and a stand-in for a running engine. Handlers are called directly, so each
// test drives both sides of a conversation on one thread.
class AdapterTest : public ::testing::Test, public MemoryRecords {
 protected:
  AdapterTest() : MemoryRecords(guiOut, engineIn) {}

  struct Capturing : ByteSink {
    Capturing(AdapterTest& test, std::vector<std::string>& lines) : test(test), lines(lines) {}
    void Write(std::string_view data) override { test.Capture(lines, data); }
    AdapterTest& test;
    std::vector<std::string>& lines;
  };

  // Lines split at line feeds: a multi-line write counts as several lines.
  void Capture(std::vector<std::string>& into, std::string_view data) {
    std::lock_guard lock(mutex);
    std::string line;
    for (char c : data) {
      if (c == '\n') {
        into.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
  }

  std::vector<std::string> TakeGui() { return Take(guiLines); }
  std::vector<std::string> TakeEngine() { return Take(engineLines); }
  std::vector<std::string> Take(std::vector<std::string>& lines) {
    std::lock_guard lock(mutex);
    return std::exchange(lines, {});
  }

  void Position(std::string_view line) { HandlePosition(adapter, line); }
  void Go(std::string_view line) { HandleGo(adapter, line, false); }
  void Engine(std::string_view line) { OnEngineLine(adapter, line); }
  SearchState State() const { return adapter.search.state; }

  std::mutex mutex;
  std::vector<std::string> guiLines;
  std::vector<std::string> engineLines;
  Capturing guiOut{*this, guiLines};
  Capturing engineIn{*this, engineLines};
};

}  // namespace vantro::test
