#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantro::test {

TempDir::TempDir() {
  std::string pattern = "/tmp/vantro-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a directory from " << pattern;
    return;
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  if (std::getenv("VANTRO_KEEP_TEST_DIRS") != nullptr) {
    std::cerr << "kept test directory " << path_ << "\n";
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

std::string TempDir::Write(std::string_view name, std::string_view text) const {
  const std::string path = File(name);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!file) ADD_FAILURE() << "cannot write " << path;
  return path;
}

std::string TempDir::Read(std::string_view name) const {
  std::ifstream file(File(name), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace vantro::test
