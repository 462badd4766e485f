#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace vantro::test {

TempDir::TempDir() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  std::random_device random;
  for (int attempt = 0; attempt < 100 && !error; ++attempt) {
    const std::filesystem::path path = base / ("vantro-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path, error)) {
      path_ = path.generic_string();
      return;
    }
  }
  ADD_FAILURE() << "cannot create a test directory in " << base;
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
  return ReadFile(File(name));
}

std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

}  // namespace vantro::test
