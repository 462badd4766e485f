#include "settings/feature_option.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "settings/settings.h"

namespace vantro {

namespace {

constexpr std::string_view kComboSeparator = "///";

// The declaration's command. Escapes are decoded in every command, so a '\'
// is doubled; a '%' only where a value is filled in (a button is sent as is).
std::string OptionCommand(std::string_view name, std::string_view conversion) {
  std::string command = "option ";
  for (char c : name) {
    if (c == '\\' || (c == '%' && !conversion.empty())) command += c;
    command += c;
  }
  if (!conversion.empty()) {
    command += '=';
    command += conversion;
  }
  return command;
}

// The type word and what follows it; the name is everything before the first
// word that names a type.
struct Parts {
  std::string_view name;
  std::string_view type;
  std::string_view rest;
};

std::optional<Parts> SplitAtType(std::string_view text) {
  static const std::string_view kTypes[] = {"-spin", "-slider", "-check",  "-string", "-file",
                                            "-path", "-combo",  "-button", "-save",   "-reset"};
  for (std::size_t at = text.find(" -"); at != std::string_view::npos;
       at = text.find(" -", at + 1)) {
    std::string_view word = GetWord(text.substr(at), 1);
    for (std::string_view type : kTypes) {
      if (word == type) {
        return Parts{Trim(text.substr(0, at)), type.substr(1),
                     Trim(text.substr(at + 1 + word.size()))};
      }
    }
  }
  return std::nullopt;
}

// Names and values must survive the definition file: '|' separates fields,
// '=' ends the key, and a leading ';' or '[' would make a comment or header.
bool Representable(std::string_view text) {
  return text.find('|') == std::string_view::npos;
}
bool RepresentableName(std::string_view name) {
  return !name.empty() && Representable(name) && name.find('=') == std::string_view::npos &&
         name[0] != ';' && name[0] != '[';
}

}  // namespace

std::optional<FeatureOption> ReadFeatureOption(std::string_view text) {
  std::optional<Parts> parts = SplitAtType(Trim(text));
  if (!parts || !RepresentableName(parts->name) || !Representable(parts->rest)) {
    return std::nullopt;
  }
  const std::string_view type = parts->type;
  const std::vector<std::string_view> words = SplitWords(parts->rest);
  FeatureOption option{std::string(parts->name), {}};
  std::string& d = option.declaration;
  if (type == "spin" || type == "slider") {
    if (words.size() < 3) return std::nullopt;
    d = OptionCommand(parts->name, "%i") + "|spin|" + std::string(words[0]) + "|" +
        std::string(words[1]) + "|" + std::string(words[2]);
  } else if (type == "check") {
    const bool on = !words.empty() && words[0] != "0";
    d = OptionCommand(parts->name, "%s") + "|check|" + (on ? "true" : "false") + "|0|1";
  } else if (type == "string" || type == "file" || type == "path") {
    d = OptionCommand(parts->name, "%s") + "|string";
    if (!parts->rest.empty()) d += "|" + std::string(parts->rest);
  } else if (type == "combo") {
    std::vector<std::string> items;
    std::string defaultItem;
    std::string_view rest = parts->rest;
    while (true) {
      const std::size_t end = rest.find(kComboSeparator);
      std::string item(Trim(rest.substr(0, end)));
      if (!item.empty() && item[0] == '*') {
        item = std::string(Trim(std::string_view(item).substr(1)));
        if (defaultItem.empty()) defaultItem = item;
      }
      if (!item.empty()) items.push_back(item);
      if (end == std::string_view::npos) break;
      rest = rest.substr(end + kComboSeparator.size());
    }
    if (items.empty()) return std::nullopt;
    d = OptionCommand(parts->name, "%s") + "|combo|" +
        (defaultItem.empty() ? items[0] : defaultItem);
    for (const std::string& item : items) d += "|" + item;
  } else {
    d = OptionCommand(parts->name, "") + "|button";
  }
  return option;
}

OwnOptions CollectOwnOptions(const std::vector<std::string>& announced, bool smp, unsigned cores,
                             const EngineOptionList& declared) {
  OwnOptions own;
  auto add = [&](FeatureOption option) {
    auto sameName = [&](const auto& other) { return other.name == option.name; };
    if (IsSettingKey(option.name)) {
      own.notes.push_back(option.name + ": Vantro's own option of that name takes precedence");
    } else if (std::any_of(declared.begin(), declared.end(), sameName) ||
               std::any_of(own.usable.begin(), own.usable.end(), sameName)) {
      own.notes.push_back(option.name + ": declared already");
    } else {
      own.usable.push_back(std::move(option));
    }
  };
  for (const std::string& text : announced) {
    if (std::optional<FeatureOption> option = ReadFeatureOption(text)) {
      add(std::move(*option));
    } else {
      own.notes.push_back("not usable here: " + text);
    }
  }
  if (smp) add({std::string(kCoresOptionName), "cores %i|spin|1|1|" + std::to_string(cores)});
  return own;
}

}  // namespace vantro
