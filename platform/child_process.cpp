#include <utility>

#include "platform/child_process.h"
#include "platform/priority.h"
#include "platform/process_env.h"

namespace vantro {

ChildProcess::ChildProcess()
    : priorityClass_(GetOwnPriorityClass()), threadPriority_(GetOwnThreadPriority()) {}

ChildProcess::~ChildProcess() {
  Close(false);
}

WriteResult ChildProcess::Write(std::string_view data) {
  if (!writeToChild_.Valid()) return WriteResult::kFailed;
  return WriteAllWithin(writeToChild_.Get(), data, stallMs_);
}

void ChildProcess::CloseInput() {
  writeToChild_.Reset();
}

UniqueHandle ChildProcess::TakeOutput() {
  return std::move(readFromChild_);
}

void ChildProcess::SetPriorityClass(std::uint32_t priorityClass) {
  priorityClass_ = priorityClass;
  ApplyPriority();
}

void ChildProcess::SetThreadPriority(int threadPriority) {
  threadPriority_ = threadPriority;
  ApplyPriority();
}

}  // namespace vantro
