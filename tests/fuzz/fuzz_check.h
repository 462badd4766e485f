#pragma once
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vantro::fuzz {

// A broken invariant is a crash for libFuzzer, which then keeps the input.
inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace vantro::fuzz
