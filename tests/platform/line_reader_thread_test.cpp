#include "platform/line_reader_thread.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/process_env.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

constexpr milliseconds kPatience(5000);

// A reader on a fresh pipe that collects its lines for the test thread. Its
// callback stops the reader at "quit" and asks it to end at "stop".
class LineReaderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    readEnd_.Reset(fds[0]);
    writeEnd_.Reset(fds[1]);
    reader_.SetCallback([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
      changed_.notify_all();
      if (line == "quit") reader_.Stop();
      return line != "stop";
    });
    reader_.SetOnEnd([this] {
      std::lock_guard<std::mutex> lock(mutex_);
      ++ends_;
      changed_.notify_all();
    });
  }
  void Start() {
    reader_.SetInput(std::move(readEnd_));
    ASSERT_TRUE(reader_.Start(0));
  }
  void Send(std::string_view bytes) { ASSERT_TRUE(WriteAll(writeEnd_.Get(), bytes)); }
  // The lines once there are `count` of them, or all lines once the reader ended.
  Lines WaitForLines(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, kPatience, [&] { return lines_.size() >= count || ends_ > 0; });
    return lines_;
  }
  milliseconds TimeStop() {
    auto start = Clock::now();
    reader_.Stop();
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  }

  UniqueFd readEnd_, writeEnd_;
  std::mutex mutex_;
  std::condition_variable changed_;
  Lines lines_;
  int ends_ = 0;
  LineReaderThread reader_;  // destroyed first: stops before the rest goes
};

TEST_F(LineReaderThreadTest, DropsCarriageReturnsAndKeepsTheOrderOfManyLines) {
  Start();
  Lines expected = {"abc", "d"};
  std::string block = "ab\rc\r\n\r\rd\n";
  for (int i = 0; i < 2000; ++i) {
    expected.push_back("line " + std::to_string(i));
    block += expected.back() + "\n";
  }
  Send(block);
  EXPECT_EQ(WaitForLines(expected.size()), expected);
}

TEST_F(LineReaderThreadTest, HandsOnEachLineWhenItsLineFeedArrives) {
  Start();
  Send("hel");
  std::this_thread::sleep_for(milliseconds(20));  // lets the reader take the first part alone
  Send("lo\nwor");
  EXPECT_EQ(WaitForLines(1), Lines{"hello"});  // before the rest exists
  Send("ld\n");
  EXPECT_EQ(WaitForLines(2), (Lines{"hello", "world"}));
}

TEST_F(LineReaderThreadTest, EndOfInputEndsTheReaderWithoutTheUnfinishedLine) {
  Start();
  Send("a\n\nb");
  writeEnd_.Reset();
  EXPECT_EQ(WaitForLines(3), (Lines{"a", ""}));
  EXPECT_TRUE(reader_.Ended());
  EXPECT_LT(TimeStop(), milliseconds(LineReaderThread::kStopWaitMs / 2));
  EXPECT_FALSE(reader_.HasThread());
  EXPECT_EQ(ends_, 1);
}

TEST_F(LineReaderThreadTest, StopWakesABlockedReadAtOnceAndTheReaderCanStartAgain) {
  Start();
  EXPECT_LT(TimeStop(), milliseconds(LineReaderThread::kStopWaitMs / 2));
  EXPECT_TRUE(reader_.Ended());
  ends_ = 0;
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  writeEnd_.Reset(fds[1]);
  readEnd_.Reset(fds[0]);
  Start();
  EXPECT_FALSE(reader_.Ended());
  Send("again\n");
  EXPECT_EQ(WaitForLines(1), Lines{"again"});
}

TEST_F(LineReaderThreadTest, ACallbackReturningFalseEndsTheReaderAndClosesItsInput) {
  Start();
  Send("go\nstop\nnever\n");
  EXPECT_EQ(WaitForLines(3), (Lines{"go", "stop"}));
  EXPECT_FALSE(WriteAll(writeEnd_.Get(), "x\n"));  // no reader left on the pipe
}

TEST_F(LineReaderThreadTest, DropsALineLongerThanTheLimitWhole) {
  Start();
  Send(std::string(LineReaderThread::kMaxLineBytes + 10, 'x') + "\nok\n");
  EXPECT_EQ(WaitForLines(1), Lines{"ok"});
}

TEST_F(LineReaderThreadTest, NeverClosesABorrowedInput) {
  reader_.SetBorrowedInput(readEnd_.Get());
  ASSERT_TRUE(reader_.Start(0));
  Send("one\n");
  WaitForLines(1);
  reader_.Stop();
  EXPECT_TRUE(WriteAll(writeEnd_.Get(), "still read\n"));
}

TEST_F(LineReaderThreadTest, ACallbackMayStopItsOwnReader) {
  Start();
  Send("quit\nmore\n");
  EXPECT_EQ(WaitForLines(3), Lines{"quit"});
  reader_.Stop();
  EXPECT_FALSE(reader_.HasThread());
}

TEST(LineReaderThreadStopTest, LeavesACallbackBlockedPastTheGraceTimeToFinishAlone) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd writeEnd(fds[1]);
  std::promise<void> entered, release, ended;
  {
    LineReaderThread reader;
    reader.SetInput(UniqueFd(fds[0]));
    reader.SetCallback([&, released = release.get_future().share()](std::string_view) {
      entered.set_value();
      released.wait();
      return true;
    });
    reader.SetOnEnd([&] { ended.set_value(); });
    ASSERT_TRUE(reader.Start(0));
    ASSERT_TRUE(WriteAll(writeEnd.Get(), "block\n"));
    ASSERT_EQ(entered.get_future().wait_for(kPatience), std::future_status::ready);
    auto start = Clock::now();
    reader.Stop();
    EXPECT_GE(Clock::now() - start, milliseconds(LineReaderThread::kStopWaitMs - 50));
  }  // the reader object is gone while its thread still runs
  release.set_value();
  EXPECT_EQ(ended.get_future().wait_for(kPatience), std::future_status::ready);
}

}  // namespace
}  // namespace vantro
