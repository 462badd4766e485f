// The definition file that "vantro --probe" prints.
#include <string>

#include "base/text.h"
#include "engine/probe.h"
#include "settings/feature_option.h"
#include "settings/mate_score.h"
#include "settings/settings.h"

namespace vantro {
namespace {

constexpr int kProbedHashMb = 16;
constexpr int kPacedDelayMs = 20;

const FeaturePair* Find(const ProbeFindings& f, std::string_view name) {
  // The last announcement of a feature counts, as in the negotiation.
  const FeaturePair* found = nullptr;
  for (const FeaturePair& pair : f.features) {
    if (pair.name == name) found = &pair;
  }
  return found;
}

std::string Value(const ProbeFindings& f, std::string_view name) {
  const FeaturePair* pair = Find(f, name);
  return pair ? std::string(Unquote(pair->value)) : std::string();
}

std::string BaseName(const std::string& commandLine) {
  std::string first(GetWord(commandLine, 1));
  return first.substr(first.find_last_of('/') + 1);
}

void AddExtras(const ProbeFindings& f, unsigned cores, std::string& text) {
  std::vector<std::string> announced;
  for (const FeaturePair& pair : f.features) {
    if (pair.name == "option") announced.emplace_back(Unquote(pair.value));
  }
  const OwnOptions own = CollectOwnOptions(announced, Value(f, "smp") == "1", cores, {});
  if (own.usable.empty() && own.notes.empty()) return;
  text += "\n[EXTRAS]\n";
  text += "; The engine's own options: Name=command|type|default|...\n";
  for (const FeatureOption& option : own.usable) {
    text += option.name + "=" + option.declaration + "\n";
  }
  for (const std::string& note : own.notes) text += "; " + note + "\n";
}

}  // namespace

std::string ProbeDefinitionText(const ProbeFindings& f, unsigned cores) {
  std::string name = Value(f, "myname");
  if (name.empty()) name = BaseName(f.commandLine);
  std::string text;
  text += "; Engine definition for " + name + ", written by \"vantro --probe\".\n";
  text += "; Lines starting with \";\" are comments; see vantro(1) for every key.\n";
  text += "[ENGINE]\n";
  text += "Name=" + name + "\n";
  text += "; Author=\n";
  text += "\n[OPTIONS]\n";
  text += "Program=" + f.commandLine + "\n";
  if (!f.protover2 || f.answeredLate) {
    // GNU Chess, for one, may answer nothing in its first seconds and loses
    // some lines that arrive together, now and then.
    if (!f.protover2) {
      text += "; The engine did not answer \"protover 2\": it speaks the first version.\n";
      text += "Protocol=1\n";
    } else {
      text += "; The engine answered \"protover 2\" only seconds after its start.\n";
    }
    text += "; Engines that are silent at their start often read slowly: lines to it are\n";
    text += "; paced (milliseconds before each); 0 sends them at once.\n";
    text += "Delay=" + std::to_string(kPacedDelayMs) + "\n";
  }
  if (!f.protover2) {
    text += "; If it does not know \"setboard\", positions go by \"edit\":\n";
    text += "; Edit=edit\n";
  } else if (Value(f, "setboard") == "1") {
    text += "; Positions are set up with \"setboard\".\n";
    text += "Edit=setboard\n";
  } else {
    text += "; The engine has no \"setboard\": positions are set up with \"edit\".\n";
    text += "Edit=edit\n";
  }
  if (Value(f, "memory") == "1") {
    text += "; The engine takes its hash size in megabytes.\n";
    text += "HashCommand=memory %i\n";
    text += "Hash=" + std::to_string(kProbedHashMb) + "\n";
  }
  if (f.protover2) {
    const bool analyze = Value(f, "analyze") != "0";
    text += analyze ? "; The engine analyses (\"analyze\"): go infinite uses it.\n"
                    : "; The engine does not analyse: go infinite becomes a long search.\n";
    text += std::string("Analyze=") + (analyze ? "true" : "false") + "\n";
  }
  text += "; How the engine writes \"mate in N\": the xboard protocol's own convention is\n";
  text += "; 100000+moves; many engines use a constant minus the distance in plies, e.g.\n";
  text += "; 30000-plies. Check the scores it prints in a mate-in-one position.\n";
  text += "MateScore=" + MateConventionText(MateConvention{}) + "\n";
  AddExtras(f, cores, text);
  return text;
}

}  // namespace vantro
