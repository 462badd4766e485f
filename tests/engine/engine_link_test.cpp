#include "engine/engine_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantro {
namespace {

using ::testing::ElementsAre;

struct EngineLinkTest : ::testing::Test, ByteSink {
  void Write(std::string_view data) override { writes.emplace_back(data); }
  Stopwatch uptime;
  Logger log{uptime};
  Settings settings;
  EngineLink link{log, settings, *this};
  std::vector<std::string> writes;
};

TEST_F(EngineLinkTest, MultiLineTextIsOneWriteUnlessADelayPacesEveryLine) {
  for (int delay : {0, 1}) {
    settings.delay = delay;
    link.SendToEngine("xboard\nprotover 2");
    link.SendToEngine("hard\neasy\n");
    link.SendToEngine("");
  }
  EXPECT_THAT(writes, ElementsAre("xboard\nprotover 2\n", "hard\neasy\n", "xboard\n",
                                  "protover 2\n", "hard\n", "easy\n"));
}

}  // namespace
}  // namespace vantro
