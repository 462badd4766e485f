#pragma once

namespace vantro {

// The whole adapter: start-up, the main wait loop, shutdown, with the exit
// status 0; or one of the command-line options (--help, --version, --probe)
// with its own status.
int RunAdapter(int argc, char** argv);

}  // namespace vantro
