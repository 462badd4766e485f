#include "platform/process_env.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/unique_handle.h"
#include "platform_test_util_posix.h"

namespace vantro {
namespace {

TEST(WriteAllTest, WritesMoreThanAPipeHoldsEvenToANonBlockingDescriptor) {
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
  UniqueHandle readEnd(fds[0]), writeEnd(fds[1]);
  fcntl(readEnd.Get(), F_SETFL, 0);
  std::string data(1 << 20, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
  std::string received;
  std::thread reader([&] { received = test::ReadToEnd(static_cast<int>(readEnd.Get())); });
  EXPECT_TRUE(WriteAll(writeEnd.Get(), data));
  writeEnd.Reset();
  reader.join();
  EXPECT_TRUE(received == data);
}

}  // namespace
}  // namespace vantro
