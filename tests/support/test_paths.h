#pragma once

#include <string>

namespace vantro::test {

// Paths of the built programs and the source tree, fixed at build time.
std::string VantroBinary();
std::string FakeEngineBinary();
std::string SourceDir();

// Puts `directory` in front of the program search path of this process and
// the programs it starts; the old path returns at the end of the scope, so
// later tests never see `directory`.
class ScopedPathPrefix {
 public:
  explicit ScopedPathPrefix(const std::string& directory);
  ~ScopedPathPrefix();
  ScopedPathPrefix(const ScopedPathPrefix&) = delete;
  ScopedPathPrefix& operator=(const ScopedPathPrefix&) = delete;

 private:
  std::string old_;
};

}  // namespace vantro::test
