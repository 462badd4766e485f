#include "settings/engine_options.h"

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "settings/settings.h"
#include "settings/text_util.h"

namespace vantro {

namespace {

constexpr std::string_view kFieldSeparator = "|";
constexpr std::string_view kReadFileTemplate = "<readfile> %s";

// Field n (counted from 1) of a split declaration; empty past the last one.
std::string_view Field(const std::vector<std::string_view>& fields, std::size_t n) {
  return n <= fields.size() ? fields[n - 1] : std::string_view();
}

// Copies `format`, replacing the first conversion accepted by `isConversion`
// with `value` and "%%" with "%". Everything else, including other "%x"
// sequences, is copied byte for byte: templates come from a user file and must
// never reach a printf-style function.
template <typename IsConversion>
std::string FillTemplate(std::string_view format, std::string_view value,
                         IsConversion isConversion) {
  std::string out;
  out.reserve(format.size() + value.size());
  bool filled = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    const char next = format[i + 1];
    if (next == '%') {
      out += '%';
      ++i;
    } else if (!filled && isConversion(next)) {
      out += value;
      filled = true;
      ++i;
    } else {
      out += '%';
    }
  }
  return out;
}

// True when `format` holds a conversion accepted by `isConversion` ("%%" is
// a literal percent sign, not the start of one).
template <typename IsConversion>
bool HasConversion(std::string_view format, IsConversion isConversion) {
  for (std::size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (isConversion(format[i + 1])) return true;
    if (format[i + 1] == '%') ++i;
  }
  return false;
}

bool IsIntConversion(char c) {
  return c == 'i' || c == 'd';
}
bool IsStringConversion(char c) {
  return c == 's';
}

bool IsItem(const EngineOption& option, std::string_view value) {
  for (std::string_view item : SplitWords(option.extra1, kFieldSeparator)) {
    if (item == value) return true;
  }
  return false;
}

EngineOptionCommand Send(std::string text) {
  return {EngineOptionCommand::Kind::kSend, std::move(text)};
}

// The combo item a value stands for, or nothing when an index has no item.
std::optional<std::string> ResolveComboValue(const EngineOption& option, std::string_view value) {
  if (value[0] < '0' || value[0] > '9') return std::string(value);
  if (IsItem(option, value)) return std::string(value);
  const std::vector<std::string_view> items = SplitWords(option.extra1, kFieldSeparator);
  // A value starting with a digit has no sign, so the index is never negative.
  const auto index = static_cast<std::size_t>(ParseInt(value));
  if (index >= items.size()) return std::nullopt;
  return std::string(items[index]);
}

}  // namespace

std::string FormatInt(std::string_view format, long long value) {
  return FillTemplate(format, std::to_string(value), IsIntConversion);
}

std::string FormatString(std::string_view format, std::string_view value) {
  return FillTemplate(format, value, IsStringConversion);
}

std::string WithIntConversion(std::string command) {
  if (!HasConversion(command, IsIntConversion)) command += " %i";
  return command;
}

void DeclareEngineOption(EngineOptionList& options, std::string_view key,
                         std::string_view declaration) {
  const std::vector<std::string_view> fields = SplitWords(declaration, kFieldSeparator);
  const std::string_view typeWord = Field(fields, 2);
  if (key.empty() || typeWord.empty()) return;

  EngineOption option;
  option.name = std::string(key);
  if (typeWord == "spin" || typeWord == "check") {
    if (Field(fields, 5).empty()) return;
    option.type = typeWord == "spin" ? EngineOptionType::kSpin : EngineOptionType::kCheck;
    option.defaultText = Field(fields, 3);
    option.extra1 = Field(fields, 4);
    option.extra2 = Field(fields, 5);
  } else if (typeWord == "button") {
    option.type = EngineOptionType::kButton;
  } else if (typeWord == "string") {
    option.type = EngineOptionType::kString;
    const std::string_view defaultText = Field(fields, 3);
    option.defaultText = defaultText.empty() ? std::string(kEmptyText) : std::string(defaultText);
  } else if (typeWord == "combo") {
    option.type = EngineOptionType::kCombo;
    option.defaultText = Field(fields, 3);
    for (std::size_t n = 4; n <= fields.size(); ++n) {
      if (n > 4) option.extra1 += kFieldSeparator;
      option.extra1 += fields[n - 1];
    }
  } else {
    return;
  }

  option.command = UnescapeC(Field(fields, 1));
  if (option.type == EngineOptionType::kSpin) {
    option.command = WithIntConversion(std::move(option.command));
  } else if (option.type != EngineOptionType::kButton) {
    if (!HasConversion(option.command, IsStringConversion)) option.command += " %s";
  }
  options.push_back(std::move(option));
}

EngineOptionCommand BuildEngineOptionCommand(const EngineOptionList& options, std::string_view name,
                                             std::string_view value) {
  const EngineOption* option = nullptr;
  for (const EngineOption& candidate : options) {
    if (candidate.name == name) {
      option = &candidate;
      break;
    }
  }
  if (option == nullptr) return {};

  switch (option->type) {
    case EngineOptionType::kSpin:
      if (value.empty()) return {};
      return Send(FormatInt(option->command, ParseInt(value)));
    case EngineOptionType::kCheck: {
      if (value.empty()) return {};
      const bool on = value[0] == 't' || value[0] == 'T' || value[0] == '1';
      return Send(FormatString(option->command, on ? option->extra2 : option->extra1));
    }
    case EngineOptionType::kButton:
      return Send(option->command);
    case EngineOptionType::kString:
      return Send(FormatString(option->command, value == kEmptyText ? std::string_view() : value));
    case EngineOptionType::kCombo: {
      if (value.empty()) return {};
      std::optional<std::string> item = ResolveComboValue(*option, value);
      if (!item) return {};
      if (option->command == kReadFileTemplate) {
        // The item names a file: a path the definition file never offered
        // must not be read and sent to the engine.
        if (!IsItem(*option, *item)) return {};
        return {EngineOptionCommand::Kind::kReadFile, std::move(*item)};
      }
      return Send(FormatString(option->command, *item));
    }
  }
  return {};
}

}  // namespace vantro
