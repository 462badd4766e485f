#include "support/fake_engine_script.h"

#include <gtest/gtest.h>

#include "fake_engine/script.h"
#include "support/test_paths.h"

namespace vantro::test {

FakeEngineScript& FakeEngineScript::Add(std::string line) {
  lines_.push_back(std::move(line));
  return *this;
}

FakeEngineScript& FakeEngineScript::Start(std::string_view action) {
  return Add("start " + std::string(action));
}

FakeEngineScript& FakeEngineScript::On(std::string_view word, std::string_view action) {
  return Add("on " + std::string(word) + " " + std::string(action));
}

FakeEngineScript& FakeEngineScript::Features(std::string_view pairs) {
  return Start("print feature " + std::string(pairs));
}

FakeEngineScript& FakeEngineScript::ExitOnQuit() {
  return On("quit", "exit");
}

FakeEngineScript& FakeEngineScript::Play(int minDelayMs, int maxDelayMs,
                                         std::optional<std::uint64_t> seed) {
  Add("mode play");
  Add("move-delay " + std::to_string(minDelayMs) + " " + std::to_string(maxDelayMs));
  if (seed) Add("seed " + std::to_string(*seed));
  return *this;
}

std::string FakeEngineScript::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\n";
  return text;
}

std::string FakeEngineScript::WriteTo(const TempDir& dir) const {
  const std::string text = Text();
  for (const std::string& error : fake::ParseScript(text).errors) {
    ADD_FAILURE() << "fake engine script, " << error << "\n" << text;
  }
  dir.Write("script.txt", text);
  return FakeEngineCommandLine(dir);
}

std::string FakeEngineCommandLine(const TempDir& dir) {
  return FakeEngineBinary() + " --log " + EngineLogPath(dir) + " --script " +
         dir.File("script.txt");
}

std::string EngineLogPath(const TempDir& dir) {
  return dir.File("engine.log");
}

std::string WriteDefinitionFile(const TempDir& dir, std::string_view name,
                                std::string_view programLine,
                                const std::vector<std::string>& extraLines) {
  std::string text = "[OPTIONS]\nProgram=" + std::string(programLine) + "\n";
  for (const std::string& line : extraLines) text += line + "\n";
  return dir.Write(name, text);
}

}  // namespace vantro::test
