#include "engine/line_io.h"

#include "platform/process_env.h"

namespace vantro {

void AppendWithLineFeed(std::string& out, std::string_view line) {
  out += line;
  if (line.empty() || line.back() != '\n') out += '\n';
}

void GuiWriter::Send(std::string_view line) {
  std::lock_guard lock(mutex_);
  log_.Log(line, kTagToGui);
  AppendWithLineFeed(held_, line);
  if (holder_ != std::this_thread::get_id()) WriteHeld();
}

void GuiWriter::Hold() {
  std::lock_guard lock(mutex_);
  if (holder_ == std::thread::id()) holder_ = std::this_thread::get_id();
}

void GuiWriter::Release() {
  std::lock_guard lock(mutex_);
  if (holder_ != std::this_thread::get_id()) return;
  holder_ = std::thread::id();
  WriteHeld();
}

void GuiWriter::WriteHeld() {
  if (held_.empty()) return;
  out_.Write(held_);
  held_.clear();  // keeps its capacity: no allocation per line
}

void HandleSink::Write(std::string_view data) {
  WriteAll(handle_, data);
}

}  // namespace vantro
