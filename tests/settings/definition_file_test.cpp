#include "settings/definition_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tests/settings/recording_actions.h"

namespace vantro {
namespace {

using Calls = std::vector<std::string>;

// Name, Visible and engine options reach the GUI in the end-to-end runs; these
// check the line rules that decide what a line means.
TEST(DefinitionFileTest, ReadsEachSectionByItsRules) {
  test::TempDir dir;
  Settings settings;
  EngineOptionList options;
  test::RecordingActions actions(settings);
  // The bytes as they are: CR LF line ends and a missing final LF included.
  const std::string path =
      dir.Write("vantro_def.eng",
                "SlowDown=9\n"  // before any header: no effect
                "[engine]\nAUTHOR = A. Coder \nvisible=Extras\n"
                "[OPTIONS]\r\n  hash = 64 ; big\r\nProgram=C:\\E\\foo.exe  ; old\r\n"
                "; Hash=128\r\nHash 128\r\nDelay=5\r\nDELAY=7\r\n"
                "[OPTION]\nNoise=3\n"  // a misspelt header is skipped and the section goes on
                "[EXTRAS]\nDepth=sd|SPIN|1|1|99\nThreads=cores|spin|1|1|8\nHash=32");
  ASSERT_TRUE(ReadDefinitionFile(path, settings, options, actions));
  EXPECT_EQ(settings.engineAuthor, "A. Coder");
  EXPECT_EQ(settings.program, "C:\\E\\foo.exe ; old");
  EXPECT_EQ(settings.delay, 7);
  EXPECT_EQ(settings.visibleOptions, Calls{"Extras"});
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0].name, "Threads");
  EXPECT_EQ(actions.calls, (Calls{"HashChanged", "NoiseChanged"}));
}

}  // namespace
}  // namespace vantro
