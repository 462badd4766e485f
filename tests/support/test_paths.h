#pragma once

#include <string>

namespace vantro::test {

// Paths of the built programs and the source tree, fixed at build time.
std::string VantroBinary();
std::string FakeEngineBinary();
std::string SourceDir();

// Puts `directory` in front of the program search path of this process and
// the programs it starts.
void PrependToPath(const std::string& directory);

}  // namespace vantro::test
