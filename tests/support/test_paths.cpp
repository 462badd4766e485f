#include "support/test_paths.h"

#include <cstdlib>

namespace vantro::test {
namespace {

// Built on Linux, run under wine: the build paths are Unix paths, which wine
// shows on drive Z.
std::string NativePath(std::string path) {
#ifdef _WIN32
  if (path.starts_with('/')) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
#endif
  return path;
}

void SetPath(const std::string& path) {
#ifdef _WIN32
  _putenv_s("PATH", path.c_str());
#else
  setenv("PATH", path.c_str(), 1);
#endif
}

}  // namespace

// Defined by tests/CMakeLists.txt.
std::string VantroBinary() {
  return NativePath(VANTRO_BINARY);
}
std::string FakeEngineBinary() {
  return NativePath(FAKE_ENGINE_BINARY);
}
std::string SourceDir() {
  return NativePath(VANTRO_SOURCE_DIR);
}

ScopedPathPrefix::ScopedPathPrefix(const std::string& directory) {
  const char* old = std::getenv("PATH");
  old_ = old ? old : "";
#ifdef _WIN32
  SetPath(directory + ";" + old_);
#else
  SetPath(directory + ":" + old_);
#endif
}
ScopedPathPrefix::~ScopedPathPrefix() {
  SetPath(old_);
}

}  // namespace vantro::test
