#include "engine/features.h"

#include "base/text.h"
#include "engine/feature_pairs.h"

namespace vantro {
namespace {

void SetFlag(std::atomic<bool>& flag, std::string_view value) {
  if (value == "1") flag = true;
  if (value == "0") flag = false;
}

}  // namespace

void NegotiateFeature(EngineLink& engine, Settings& settings, std::string_view line) {
  // Quoted values ("myname", "variants", "option", ...) may span words; none
  // of those words is read as a feature of its own.
  for (const FeaturePair& pair : SplitFeatureLine(line)) {
    const std::string& name = pair.name;
    const std::string& value = pair.value;
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
    } else if (name == "ping") {
      SetFlag(engine.pingFeature, value);
    } else if (name == "smp") {
      SetFlag(engine.smpFeature, value);
    } else if (name == "option") {
      engine.AddAnnouncedOption(std::string(Unquote(value)));
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
    if (!name.empty()) engine.SendToEngine("accepted " + name);
  }
}

}  // namespace vantro
