#include "platform/line_reader_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "platform/process_env.h"
#include "platform_test_util.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// A reader on a fresh pipe that collects its lines for the test thread.
class LineReaderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    NewPipe();
    reader_.SetCallback([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
      return true;
    });
  }
  void NewPipe() { ASSERT_TRUE(MakePipe(readEnd_, writeEnd_)); }
  void Start() {
    reader_.SetInput(std::move(readEnd_));
    ASSERT_TRUE(reader_.Start(0));
  }
  void Send(std::string_view bytes) { ASSERT_TRUE(WriteAll(writeEnd_.Get(), bytes)); }
  // The lines once there are `count` of them, or all after five seconds.
  Lines WaitForLines(std::size_t count) {
    test::WaitUntil([&] {
      std::lock_guard<std::mutex> lock(mutex_);
      return lines_.size() >= count;
    });
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

  UniqueHandle readEnd_, writeEnd_;
  std::mutex mutex_;
  Lines lines_;
  LineReaderThread reader_;  // destroyed first: stops before the rest goes
};

TEST_F(LineReaderThreadTest, HandsOnEachLineAtItsLineFeedWithoutCarriageReturnsOrOverlongLines) {
  Start();
  Send("ab\rc\r\n\r\rd\nhel");
  EXPECT_EQ(WaitForLines(2), (Lines{"abc", "d"}));
  Send("lo\nwor");
  EXPECT_EQ(WaitForLines(3), (Lines{"abc", "d", "hello"}));  // before the rest exists
  Lines expected = {"abc", "d", "hello", "world"};
  std::string block = "ld\n" + std::string(LineReaderThread::kMaxLineBytes + 10, 'x') + "\n";
  for (int i = 0; i < 2000; ++i) {
    expected.push_back("line " + std::to_string(i));
    block += expected.back() + "\n";
  }
  Send(block);
  EXPECT_EQ(WaitForLines(expected.size()), expected);
}

TEST_F(LineReaderThreadTest, StopWakesABlockedReadAtOnceAndTheReaderCanStartAgain) {
  Start();
  const auto start = Clock::now();
  reader_.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(LineReaderThread::kStopWaitMs / 2));
  EXPECT_TRUE(reader_.LoopEnded());
  NewPipe();
  Start();
  EXPECT_FALSE(reader_.LoopEnded());
  Send("again\n");
  EXPECT_EQ(WaitForLines(1), Lines{"again"});
}

}  // namespace
}  // namespace vantro
