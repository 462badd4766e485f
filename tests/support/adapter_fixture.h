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

// Lines split at line feeds: a multi-line write counts as several lines.
struct CapturedLines : ByteSink {
  void Write(std::string_view data) override {
    std::lock_guard lock(mutex);
    for (size_t end; (end = data.find('\n')) != std::string_view::npos;
         data.remove_prefix(end + 1)) {
      lines.emplace_back(data.substr(0, end));
    }
  }
  std::vector<std::string> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(lines, {});
  }

  std::mutex mutex;
  std::vector<std::string> lines;
};

// The search records, with GUI output and engine input captured in memory
// and a stand-in for a running engine. Handlers are called directly, so each
// test drives both sides of a conversation on one thread.
class AdapterTest : public ::testing::Test, public MemoryRecords {
 protected:
  AdapterTest() : MemoryRecords(guiOut, engineIn) {}

  std::vector<std::string> TakeGui() { return guiOut.Take(); }
  std::vector<std::string> TakeEngine() { return engineIn.Take(); }

  void Position(std::string_view line) { HandlePosition(adapter, line); }
  void Go(std::string_view line) { HandleGo(adapter, line, false); }
  void Engine(std::string_view line) { OnEngineLine(adapter, line); }
  SearchState State() const { return adapter.search.state; }

  CapturedLines guiOut;
  CapturedLines engineIn;
};

}  // namespace vantro::test
