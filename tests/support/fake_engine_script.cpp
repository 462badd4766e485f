#include "support/fake_engine_script.h"

#include <gtest/gtest.h>

#include "fake_engine/script.h"
#include "support/test_paths.h"

namespace vantro::test {

FakeEngineScript& FakeEngineScript::Play(int minDelayMs, int maxDelayMs,
                                         std::optional<std::uint64_t> seed) {
  Add("mode play");
  Add("move-delay " + std::to_string(minDelayMs) + " " + std::to_string(maxDelayMs));
  return seed ? Add("seed " + std::to_string(*seed)) : *this;
}

std::string FakeEngineScript::WriteTo(const TempDir& dir) const {
  for (const std::string& error : fake::ParseScript(text_).errors) {
    ADD_FAILURE() << "fake engine script, " << error << "\n" << text_;
  }
  return FakeEngineBinary() + " --log " + EngineLogPath(dir) + " --script " +
         dir.Write("script.txt", text_);
}

std::string EngineLogPath(const TempDir& dir) {
  return dir.File("engine.log");
}

}  // namespace vantro::test
