#pragma once

#include <string>
#include <vector>

#include "engine/feature_pairs.h"

namespace vantro {

// What "vantro --probe" learnt from an engine in the opening dialogue.
struct ProbeFindings {
  std::string commandLine;    // the Program line, arguments as given
  bool protover2 = false;     // it answered "protover 2" with features
  bool answeredLate = false;  // only seconds after its start, when asked more
  std::vector<FeaturePair> features;
};

// Starts `args` (program and arguments), runs the opening dialogue and
// quits the engine. An engine that announces no features must show that it
// speaks the first version of the protocol by answering "go" with a move.
// False, with a message for the user, when the engine cannot be started or
// does not speak xboard within the bounds.
bool ProbeEngine(const std::vector<std::string>& args, ProbeFindings& findings, std::string& error);

// A complete, commented engine definition file for the findings.
std::string ProbeDefinitionText(const ProbeFindings& findings, unsigned cores);

// The command-line mode: the file on standard output, or a message on
// standard error and status 1.
int RunProbe(const std::vector<std::string>& args);

}  // namespace vantro
