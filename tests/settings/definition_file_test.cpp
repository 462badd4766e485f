#include "settings/definition_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tests/settings/recording_actions.h"

namespace vantro {
namespace {

using Calls = std::vector<std::string>;

class DefinitionFileTest : public ::testing::Test {
 protected:
  // Writes the bytes as they are: line ends and a missing final LF included.
  bool Read(const std::string& content, SettingActions& with) {
    std::ofstream(path_, std::ios::binary) << content;
    return ReadDefinitionFile(path_, settings, options, with);
  }
  bool Read(const std::string& content) { return Read(content, actions); }

  test::TempDir dir_;
  std::string path_ = dir_.File("vantro_def.eng");
  Settings settings;
  EngineOptionList options;
  test::RecordingActions actions{settings};
};

// Name, Visible and engine options reach the GUI in the end-to-end runs; these
// check the line rules that decide what a line means.
TEST_F(DefinitionFileTest, ReadsEachSectionByItsRules) {
  ASSERT_TRUE(
      Read("SlowDown=9\n"  // before any header: no effect
           "[engine]\nAUTHOR = A. Coder \nvisible=Extras\n"
           "[OPTIONS]\r\n  hash = 64 ; big\r\nProgram=C:\\E\\foo.exe  ; old\r\n"
           "; Hash=128\r\nHash 128\r\nDelay=5\r\nDELAY=7\r\n"
           "[OPTION]\nNoise=3\n"  // a misspelt header is skipped and the section goes on
           "[EXTRAS]\nDepth=sd|SPIN|1|1|99\nThreads=cores|spin|1|1|8\nHash=32"));
  EXPECT_EQ(settings.engineAuthor, "A. Coder");
  EXPECT_EQ(settings.program, "C:\\E\\foo.exe ; old");
  EXPECT_EQ(settings.delay, 7);
  EXPECT_EQ(settings.visibleOptions, Calls{"Extras"});
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0].name, "Threads");
  EXPECT_EQ(actions.calls, (Calls{"HashChanged", "NoiseChanged"}));
}

// SetEngineOption finds a declaration only if it was read before, so the
// sections must be applied line by line in file order.
TEST_F(DefinitionFileTest, ExtrasAreDeclaredInFileOrderBetweenOptionLines) {
  struct OrderRecorder : test::RecordingActions {
    using RecordingActions::RecordingActions;
    const EngineOptionList* options;
    void SetEngineOption(const std::string& name, const std::string&) override {
      calls.push_back(name + " declared " + std::to_string(options->size()));
    }
  } recorder(settings);
  recorder.options = &options;
  ASSERT_TRUE(
      Read("[OPTIONS]\nThreads=4\n[EXTRAS]\nThreads=cores|spin|1|1|8\n[OPTIONS]\nThreads=2\n",
           recorder));
  EXPECT_EQ(recorder.calls, (Calls{"Threads declared 0", "Threads declared 1"}));
}

}  // namespace
}  // namespace vantro
