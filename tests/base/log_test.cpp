#include "base/log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vantro {
namespace {

// Each test runs in a directory of its own, since the log's name is fixed.
class LogTest : public ::testing::Test {
 protected:
  LogTest() : uptime([] { return 0u; }), old(std::filesystem::current_path()) {
    std::filesystem::current_path(temp.Path());
    uptime.Start();
  }
  ~LogTest() override { std::filesystem::current_path(old); }
  std::string File() { return temp.Read(Logger::kFileName); }

  test::TempDir temp;
  Stopwatch uptime;
  std::filesystem::path old;
};

TEST_F(LogTest, FirstIsReadyDropsHeldLinesAndLaterLoggingWritesEachLineWithCrLf) {
  Logger log(uptime);
  log.Log("dropped", kTagFromGui);
  log.EndHolding();
  log.Log("nowhere", kTagFromGui);
  EXPECT_FALSE(std::filesystem::exists(Logger::kFileName));
  log.ApplyLogFile(true);
  log.Log("xboard\nprotover 2", kTagToEngine);  // a text of several lines
  log.Log("ends\n", kTagToEngine);
  log.Log("", kTagToEngine);
  log.Close();
  EXPECT_EQ(File(), "0.000: S< xboard\r\nprotover 2\r\n0.000: S< ends\r\n0.000: S< \r\n");
}

TEST_F(LogTest, HoldingIsBoundedWhenNobodyDecides) {
  Logger log(uptime);
  std::string big(1 << 20, 'x');
  for (int i = 0; i < 64; ++i) log.Log(big, kTagFromGui);
  log.ApplyLogFile(true);
  log.Close();
  EXPECT_LE(std::filesystem::file_size(Logger::kFileName), Logger::kMaxHeldBytes + 4096);
}

}  // namespace
}  // namespace vantro
