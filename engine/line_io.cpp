#include "engine/line_io.h"

#include "platform/process_env.h"

namespace vantro {

std::string WithLineFeed(std::string_view line) {
  std::string out(line);
  if (out.empty() || out.back() != '\n') out += '\n';
  return out;
}

void GuiWriter::Send(std::string_view line) {
  std::lock_guard lock(mutex_);
  log_.Log(line, kTagToGui);
  std::string data = WithLineFeed(line);
  if (sink_) {
    sink_(data);
    return;
  }
  WriteAll(fd_, data);  // a GUI that closed its end is not an error here
}

}  // namespace vantro
