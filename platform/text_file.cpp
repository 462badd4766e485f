#include "platform/text_file.h"

#include <cstring>
#include <string>

namespace vantro {

namespace {

constexpr std::size_t kReadBlockBytes = 4096;

}  // namespace

void TextFile::Close() {
  file_.Reset();
  append_ = false;
  position_ = 0;
  buffer_.clear();
  bufferPos_ = 0;
}

bool TextFile::FillBuffer() {
  if (!file_.Valid()) return false;
  buffer_.resize(kReadBlockBytes);
  bufferPos_ = 0;
  buffer_.resize(ReadAt(file_.Get(), position_, buffer_.data(), buffer_.size()));
  return !buffer_.empty();
}

bool TextFile::ReadLine(std::string& out) {
  out.clear();
  bool skipping = false;  // inside a line that grew past kMaxLineBytes
  for (;;) {
    if (bufferPos_ == buffer_.size() && !FillBuffer()) return !out.empty();
    const char* begin = buffer_.data() + bufferPos_;
    std::size_t available = buffer_.size() - bufferPos_;
    const void* found = std::memchr(begin, '\n', available);
    std::size_t take =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - begin) : available;
    if (!skipping) {
      for (std::size_t i = 0; i < take; ++i) {
        if (begin[i] != '\r') out.push_back(begin[i]);
      }
      if (out.size() > kMaxLineBytes) {
        out.clear();
        skipping = true;
      }
    }
    std::size_t consumed = take + (found ? 1 : 0);
    bufferPos_ += consumed;
    position_ += consumed;
    if (found) {
      if (!skipping) return true;
      skipping = false;
    }
  }
}

bool TextFile::WriteLine(std::string_view text) {
  return Write(ToCrLfLine(text));
}

std::string ToCrLfLine(std::string_view text) {
  if (text.empty()) return "\r\n";
  std::string result;
  result.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      result += "\r\n";
      ++i;
    } else if (text[i] == '\n') {
      result += "\r\n";
    } else {
      result.push_back(text[i]);  // a lone CR stays as it is
    }
  }
  if (result.back() != '\n') result += "\r\n";
  return result;
}

}  // namespace vantro
