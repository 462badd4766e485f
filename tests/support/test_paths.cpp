#include "support/test_paths.h"

namespace vantro::test {

// Defined by tests/CMakeLists.txt.
std::string VantroBinary() {
  return VANTRO_BINARY;
}
std::string FakeEngineBinary() {
  return FAKE_ENGINE_BINARY;
}
std::string SourceDir() {
  return VANTRO_SOURCE_DIR;
}

}  // namespace vantro::test
