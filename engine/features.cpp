#include "engine/features.h"

#include "base/text.h"

namespace vantro {
namespace {

// A value that starts with a double quote may span several words; it ends
// with the word that ends with a double quote (or the line).
std::string CollectQuoted(std::string_view line, std::string value, int& index) {
  if (value.size() >= 2 && value.back() == '"') return value;
  while (true) {
    std::string_view next = GetWord(line, index + 1);
    if (next.empty()) break;
    ++index;
    value += ' ';
    value += next;
    if (next.back() == '"') break;
  }
  return value;
}

void SetFlag(std::atomic<bool>& flag, std::string_view value) {
  if (value == "1") flag = true;
  if (value == "0") flag = false;
}

}  // namespace

void NegotiateFeature(EngineLink& engine, Settings& settings, std::string_view line) {
  for (int index = 2;; ++index) {
    std::string_view pair = GetWord(line, index);
    if (pair.empty()) break;
    std::size_t eq = pair.find('=');
    // A word without "=" names no feature: nothing to accept.
    if (eq == std::string_view::npos) continue;
    std::string_view name = Trim(pair.substr(0, eq));
    std::string value(Trim(pair.substr(eq + 1)));
    // A quoted value ("myname", "variants", "option", ...) may span words;
    // none of them is read as a feature of its own.
    if (!value.empty() && value.front() == '"') value = CollectQuoted(line, value, index);

    if (name == "setboard") {
      if (value == "1") settings.edit = kEditSetboard;
      if (value == "0") settings.edit = kEditEdit;
    } else if (name == "san") {
      SetFlag(engine.sanFeature, value);
    } else if (name == "colors") {
      SetFlag(engine.colorsFeature, value);
    } else if (name == "time") {
      SetFlag(engine.timeFeature, value);
    } else if (name == "usermove") {
      SetFlag(engine.usermoveFeature, value);
    } else if (name == "analyze") {
      SetFlag(settings.analyze, value);
    } else if (name == "done") {
      if (value == "1") engine.SetNegotiationOpen(false);
      if (value == "0") engine.SetNegotiationOpen(true);
    } else if (name == "myname") {
      std::string full = value;
      // A name of several words loses its enclosing quotes; a single word is
      // kept as the engine wrote it.
      if (full.size() >= 2 && full.front() == '"' && full.back() == '"' &&
          full.find(' ') != std::string::npos) {
        full = full.substr(1, full.size() - 2);
      }
      settings.SetEngineName(full);
    }
    if (!name.empty()) engine.SendToEngine("accepted " + std::string(name));
  }
}

}  // namespace vantro
