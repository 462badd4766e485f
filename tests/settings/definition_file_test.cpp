#include "settings/definition_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/settings/recording_actions.h"

namespace vantro {
namespace {

using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

class DefinitionFileTest : public ::testing::Test {
 protected:
  DefinitionFileTest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("vantro_def_" + std::to_string(::getpid()) + "_" + info->name() + ".eng");
  }
  ~DefinitionFileTest() override { std::filesystem::remove(path_); }

  // Writes the bytes as they are: line ends and a missing final LF included.
  bool Read(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
    return ReadDefinitionFile(path_.string(), settings, options, actions);
  }

  Settings settings;
  EngineOptionList options;
  test::RecordingActions actions;
  std::filesystem::path path_;
};

TEST_F(DefinitionFileTest, EngineSectionSetsTheIdentityInAnyCase) {
  ASSERT_TRUE(Read("[engine]\nName=My Engine\nAUTHOR = A. Coder \nColour=blue\n"));
  EXPECT_EQ(settings.EngineName(), "My Engine");
  EXPECT_EQ(settings.engineAuthor, "A. Coder");
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(DefinitionFileTest, EngineValuesAreStoredEvenWhenEmpty) {
  ASSERT_TRUE(Read("[ENGINE]\nName=\n"));
  EXPECT_EQ(settings.EngineName(), "");
}

TEST_F(DefinitionFileTest, LinesBeforeTheFirstHeaderHaveNoEffect) {
  ASSERT_TRUE(Read("Hash=64\nName=x\n[OPTIONS]\n"));
  EXPECT_EQ(settings.hash, 2);
  EXPECT_EQ(settings.EngineName(), "<empty>");
}

TEST_F(DefinitionFileTest, OptionsLinesGoThroughTheSettingRules) {
  ASSERT_TRUE(
      Read("[OPTIONS]\r\n  hash = 64 ; big\r\nProgram=C:\\Engines\\Foo\\foo.exe  -x\r\n"
           "InitString=a=b\r\n; Hash=128\r\nEdit = cb-edit\r\nPonder=\r\n"));
  EXPECT_EQ(settings.hash, 64);
  EXPECT_EQ(settings.program, "C:\\Engines\\Foo\\foo.exe -x");
  EXPECT_EQ(settings.initString, "a=b");
  EXPECT_EQ(settings.edit, kEditCbEdit);
  EXPECT_EQ(actions.calls, (Calls{"HashChanged"}));
}

TEST_F(DefinitionFileTest, ASemicolonAfterTheStartBelongsToTheValue) {
  ASSERT_TRUE(Read("[OPTIONS]\nProgram=foo.exe ; old\n"));
  EXPECT_EQ(settings.program, "foo.exe ; old");
}

TEST_F(DefinitionFileTest, LaterLinesForTheSameSettingWin) {
  ASSERT_TRUE(Read("[OPTIONS]\nHASH=64\nHash=32\n"));
  EXPECT_EQ(settings.hash, 32);
}

TEST_F(DefinitionFileTest, MisspeltHeaderIsSkippedAndTheSectionGoesOn) {
  ASSERT_TRUE(Read("[OPTIONS]\n[OPTION]\nHash=64\n[Extras]\nThreads=cores|spin|1|1|8\n"));
  EXPECT_EQ(settings.hash, 64);
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0].name, "Threads");
}

TEST_F(DefinitionFileTest, LinesWithoutEqualsSignAreSkipped) {
  ASSERT_TRUE(Read("[OPTIONS]\nHash 64\nDelay=5\n"));
  EXPECT_EQ(settings.hash, 2);
  EXPECT_EQ(settings.delay, 5);
}

TEST_F(DefinitionFileTest, TheLastLineNeedsNoLineFeed) {
  ASSERT_TRUE(Read("[OPTIONS]\nHash=64"));
  EXPECT_EQ(settings.hash, 64);
}

TEST_F(DefinitionFileTest, VisibleListsAddUpAndSkipEmptyItems) {
  ASSERT_TRUE(Read("[ENGINE]\nvisible=Extras\n[OPTIONS]\nVisible=Hash, Ponder,,Help, ,\n"));
  EXPECT_TRUE(settings.visibilityRestricted);
  EXPECT_EQ(settings.visibleOptions, (Names{"Extras", "Hash", "Ponder", "Help"}));
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(DefinitionFileTest, LowerCaseVisibleInOptionsIsAnEngineOption) {
  ASSERT_TRUE(Read("[OPTIONS]\nvisible=Hash\n"));
  EXPECT_FALSE(settings.visibilityRestricted);
  EXPECT_EQ(actions.calls, (Calls{"SetEngineOption [visible] [Hash]"}));
}

TEST_F(DefinitionFileTest, EmptyVisibleRestrictsWithoutNames) {
  ASSERT_TRUE(Read("[OPTIONS]\nVisible=\n"));
  EXPECT_TRUE(settings.visibilityRestricted);
  EXPECT_TRUE(settings.visibleOptions.empty());
}

// The reader only hands option values on; the adapter's SetEngineOption finds
// a declaration only if it was read before, so the order of sections counts.
TEST_F(DefinitionFileTest, ExtrasAreDeclaredInFileOrderBetweenOptionLines) {
  class OrderRecorder : public test::RecordingActions {
   public:
    explicit OrderRecorder(const EngineOptionList& options) : options_(options) {}
    void SetEngineOption(const std::string& name, const std::string& value) override {
      calls.push_back(name + " declared " + std::to_string(options_.size()));
    }

   private:
    const EngineOptionList& options_;
  } recorder(options);
  std::ofstream(path_, std::ios::binary)
      << "[OPTIONS]\nThreads=4\n[EXTRAS]\nThreads=cores|spin|1|1|8\n[OPTIONS]\nThreads=2\n";
  ASSERT_TRUE(ReadDefinitionFile(path_.string(), settings, options, recorder));
  EXPECT_EQ(recorder.calls, (Calls{"Threads declared 0", "Threads declared 1"}));
}

TEST_F(DefinitionFileTest, InvalidExtrasAreDropped) {
  ASSERT_TRUE(Read("[EXTRAS]\nDepth=sd|SPIN|1|1|99\n=x|button\nClear Hash = new|button\n"));
  ASSERT_EQ(options.size(), 1u);
  EXPECT_EQ(options[0].name, "Clear Hash");
}

TEST_F(DefinitionFileTest, MissingFileOrBlankNameFails) {
  EXPECT_FALSE(ReadDefinitionFile(path_.string() + ".missing", settings, options, actions));
  EXPECT_FALSE(ReadDefinitionFile("  \t", settings, options, actions));
}

TEST_F(DefinitionFileTest, EmptyFileSucceedsWithNothingChanged) {
  ASSERT_TRUE(Read(""));
  EXPECT_FALSE(settings.visibilityRestricted);
  EXPECT_TRUE(options.empty());
}

TEST_F(DefinitionFileTest, FileNameIsTrimmed) {
  std::ofstream(path_, std::ios::binary) << "[ENGINE]\nName=Trimmed\n";
  ASSERT_TRUE(ReadDefinitionFile("  " + path_.string() + " \t", settings, options, actions));
  EXPECT_EQ(settings.EngineName(), "Trimmed");
}

}  // namespace
}  // namespace vantro
