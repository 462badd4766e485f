#include "support/test_paths.h"

#ifndef VANTRO_BINARY
#define VANTRO_BINARY ""
#endif
#ifndef FAKE_ENGINE_BINARY
#define FAKE_ENGINE_BINARY ""
#endif
#ifndef VANTRO_SOURCE_DIR
#define VANTRO_SOURCE_DIR ""
#endif

namespace vantro::test {

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
