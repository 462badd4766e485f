#pragma once

#include <string>

namespace vantro::test {

// Paths of the built programs and the source tree, fixed at build time.
std::string VantroBinary();
std::string FakeEngineBinary();
std::string SourceDir();

}  // namespace vantro::test
