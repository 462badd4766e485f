#include "platform/line_reader_thread.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/process_env.h"

namespace vantro {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kPatience(5000);

// Collects what a reader hands on, for the test thread to wait for.
class LineSink {
 public:
  LineReaderThread::Callback Callback(std::string stopAt = {}) {
    return [this, stopAt](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
      changed_.notify_all();
      return stopAt.empty() || line != stopAt;
    };
  }
  std::function<void()> OnEnd() {
    return [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      ++ends_;
      changed_.notify_all();
    };
  }
  bool WaitForLines(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return lines_.size() >= count; });
  }
  bool WaitForEnd() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return ends_ > 0; });
  }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  int Ends() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ends_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  int ends_ = 0;
};

class LineReaderThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    readEnd_.Reset(fds[0]);
    writeEnd_.Reset(fds[1]);
  }
  void StartReader(std::string stopAt = {}) {
    reader_.SetInput(std::move(readEnd_));
    reader_.SetCallback(sink_.Callback(std::move(stopAt)));
    reader_.SetOnEnd(sink_.OnEnd());
    ASSERT_TRUE(reader_.Start(0));
  }
  void Send(std::string_view bytes) { ASSERT_TRUE(WriteAll(writeEnd_.Get(), bytes)); }

  UniqueFd readEnd_;
  UniqueFd writeEnd_;
  LineSink sink_;
  LineReaderThread reader_;  // destroyed first: stops before the sink goes
};

TEST_F(LineReaderThreadTest, DropsCarriageReturnsWhereverTheyStand) {
  StartReader();
  Send("ab\rc\r\n\r\rd\n");
  ASSERT_TRUE(sink_.WaitForLines(2));
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{"abc", "d"}));
}

TEST_F(LineReaderThreadTest, HandsOnEachLineWhenItsLineFeedArrives) {
  StartReader();
  Send("hel");
  std::this_thread::sleep_for(milliseconds(20));  // lets the reader take the first part alone
  Send("lo\nwor");
  ASSERT_TRUE(sink_.WaitForLines(1));  // before the rest exists
  EXPECT_EQ(sink_.Lines(), std::vector<std::string>{"hello"});
  Send("ld\n");
  ASSERT_TRUE(sink_.WaitForLines(2));
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{"hello", "world"}));
}

TEST_F(LineReaderThreadTest, KeepsTheOrderOfManyLinesInOneBlock) {
  StartReader();
  std::string block;
  std::vector<std::string> expected;
  for (int i = 0; i < 2000; ++i) {
    expected.push_back("line " + std::to_string(i));
    block += expected.back() + "\n";
  }
  Send(block);
  ASSERT_TRUE(sink_.WaitForLines(expected.size()));
  EXPECT_EQ(sink_.Lines(), expected);
}

TEST_F(LineReaderThreadTest, EndOfInputEndsTheReaderWithoutTheUnfinishedLine) {
  StartReader();
  Send("a\n\nb");
  writeEnd_.Reset();
  ASSERT_TRUE(sink_.WaitForEnd());
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(reader_.Ended());
  EXPECT_TRUE(reader_.HasThread());
  auto start = Clock::now();
  reader_.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(LineReaderThread::kStopWaitMs / 2));
  EXPECT_FALSE(reader_.HasThread());
  EXPECT_EQ(sink_.Ends(), 1);
}

TEST_F(LineReaderThreadTest, StopWakesABlockedReadAtOnce) {
  StartReader();
  EXPECT_FALSE(reader_.Ended());
  auto start = Clock::now();
  reader_.Stop();
  EXPECT_LT(Clock::now() - start, milliseconds(LineReaderThread::kStopWaitMs / 2));
  EXPECT_TRUE(reader_.Ended());
  EXPECT_EQ(sink_.Ends(), 1);
}

TEST_F(LineReaderThreadTest, ACallbackReturningFalseEndsTheReaderAndClosesItsInput) {
  StartReader("stop");
  Send("go\nstop\nnever\n");
  ASSERT_TRUE(sink_.WaitForEnd());
  EXPECT_EQ(sink_.Lines(), (std::vector<std::string>{"go", "stop"}));
  EXPECT_FALSE(WriteAll(writeEnd_.Get(), "x\n"));  // no reader left on the pipe
}

TEST_F(LineReaderThreadTest, ACallbackMayStopItsOwnReader) {
  reader_.SetInput(std::move(readEnd_));
  reader_.SetCallback([this](std::string_view line) {
    if (line == "quit") reader_.Stop();
    return true;
  });
  reader_.SetOnEnd(sink_.OnEnd());
  ASSERT_TRUE(reader_.Start(0));
  Send("quit\nmore\n");
  ASSERT_TRUE(sink_.WaitForEnd());
  reader_.Stop();
  EXPECT_FALSE(reader_.HasThread());
}

TEST_F(LineReaderThreadTest, DropsALineLongerThanTheLimitWhole) {
  StartReader();
  Send(std::string(LineReaderThread::kMaxLineBytes + 10, 'x') + "\nok\n");
  ASSERT_TRUE(sink_.WaitForLines(1));
  EXPECT_EQ(sink_.Lines(), std::vector<std::string>{"ok"});
}

TEST_F(LineReaderThreadTest, NeverClosesABorrowedInput) {
  int fd = readEnd_.Get();
  reader_.SetBorrowedInput(fd);
  reader_.SetCallback(sink_.Callback());
  reader_.SetOnEnd(sink_.OnEnd());
  ASSERT_TRUE(reader_.Start(0));
  Send("one\n");
  ASSERT_TRUE(sink_.WaitForLines(1));
  reader_.Stop();
  EXPECT_NE(fcntl(fd, F_GETFD), -1);
  EXPECT_TRUE(WriteAll(writeEnd_.Get(), "still read\n"));
}

TEST_F(LineReaderThreadTest, CanBeStartedAgainWithANewInput) {
  StartReader();
  reader_.Stop();
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd secondWrite(fds[1]);
  reader_.SetInput(UniqueFd(fds[0]));
  ASSERT_TRUE(reader_.Start(0));
  EXPECT_FALSE(reader_.Ended());
  ASSERT_TRUE(WriteAll(secondWrite.Get(), "again\n"));
  ASSERT_TRUE(sink_.WaitForLines(1));
  EXPECT_EQ(sink_.Lines(), std::vector<std::string>{"again"});
}

TEST(LineReaderThreadStopTest, LeavesACallbackBlockedPastTheGraceTimeToFinishAlone) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  UniqueFd writeEnd(fds[1]);
  std::mutex mutex;
  std::condition_variable changed;
  bool inCallback = false, release = false, ended = false;
  {
    LineReaderThread reader;
    reader.SetInput(UniqueFd(fds[0]));
    reader.SetCallback([&](std::string_view) {
      std::unique_lock<std::mutex> lock(mutex);
      inCallback = true;
      changed.notify_all();
      changed.wait(lock, [&] { return release; });
      return true;
    });
    reader.SetOnEnd([&] {
      std::lock_guard<std::mutex> lock(mutex);
      ended = true;
      changed.notify_all();
    });
    ASSERT_TRUE(reader.Start(0));
    ASSERT_TRUE(WriteAll(writeEnd.Get(), "block\n"));
    {
      std::unique_lock<std::mutex> lock(mutex);
      ASSERT_TRUE(changed.wait_for(lock, kPatience, [&] { return inCallback; }));
    }
    auto start = Clock::now();
    reader.Stop();
    auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(LineReaderThread::kStopWaitMs - 50));
    EXPECT_LT(took, kPatience);
    EXPECT_FALSE(reader.HasThread());
  }  // the reader object is gone while its thread still runs
  std::unique_lock<std::mutex> lock(mutex);
  release = true;
  changed.notify_all();
  EXPECT_TRUE(changed.wait_for(lock, kPatience, [&] { return ended; }));
}

}  // namespace
}  // namespace vantro
