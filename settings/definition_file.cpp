#include "settings/definition_file.h"

#include <optional>
#include <string>

#include "base/text.h"
#include "platform/text_file.h"
#include "settings/text_util.h"

namespace vantro {

namespace {

enum class Section { kNone, kEngine, kOptions, kExtras };

// The section a trimmed line switches to, or nothing when it is no header.
std::optional<Section> HeaderSection(std::string_view line) {
  const std::string upper = ToUpper(line);
  if (upper == "[ENGINE]") return Section::kEngine;
  if (upper == "[OPTIONS]") return Section::kOptions;
  if (upper == "[EXTRAS]") return Section::kExtras;
  return std::nullopt;
}

void ApplyEngineLine(Settings& settings, std::string_view key, std::string_view value) {
  const std::string upperKey = ToUpper(key);
  if (upperKey == "NAME") {
    settings.SetEngineName(std::string(value));
  } else if (upperKey == "AUTHOR") {
    settings.engineAuthor = value;
  } else if (upperKey == "VISIBLE") {
    AddVisibleOptions(settings, value);
  }
}

void ApplyOptionsLine(Settings& settings, SettingActions& actions, std::string_view key,
                      std::string_view value) {
  // Only this exact spelling is the list; "visible" is an option name like any other.
  if (key == "Visible") {
    AddVisibleOptions(settings, value);
    return;
  }
  std::string line = "setoption name ";
  line += key;
  line += " value ";
  line += value;
  ApplySetting(line, settings, actions);
}

}  // namespace

void AddVisibleOptions(Settings& settings, std::string_view list) {
  settings.visibilityRestricted = true;
  for (std::string_view word : SplitWords(list, ",")) {
    const std::string_view name = Trim(word);
    if (!name.empty()) settings.visibleOptions.emplace_back(name);
  }
}

bool ReadDefinitionFile(std::string_view fileName, Settings& settings, EngineOptionList& options,
                        SettingActions& actions) {
  const std::string_view name = Trim(fileName);
  if (name.empty()) return false;
  TextFile file;
  if (!file.OpenForReading(name)) return false;

  Section section = Section::kNone;
  std::string raw;
  while (file.ReadLine(raw)) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (std::optional<Section> header = HeaderSection(line)) {
      section = *header;
      continue;
    }
    if (section == Section::kNone) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Trim(line.substr(equals + 1));
    switch (section) {
      case Section::kEngine:
        ApplyEngineLine(settings, key, value);
        break;
      case Section::kOptions:
        ApplyOptionsLine(settings, actions, key, value);
        break;
      case Section::kExtras:
        DeclareEngineOption(options, key, value);
        break;
      case Section::kNone:
        break;
    }
  }
  file.Close();
  return true;
}

}  // namespace vantro
