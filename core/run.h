#pragma once

namespace vantro {

// The whole adapter: start-up, the main wait loop, shutdown. Returns the exit
// status, which is always 0.
int RunAdapter(int argc, char** argv);

}  // namespace vantro
