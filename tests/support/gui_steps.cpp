#include "support/gui_steps.h"

#include <gtest/gtest.h>

#include <thread>

namespace vantro::test {

bool PlayGuiSteps(UciSession& session, const std::vector<std::string>& steps,
                  std::chrono::milliseconds waitLimit) {
  for (const std::string& step : steps) {
    std::string word = step.substr(0, step.find(' '));
    std::string rest = step.substr(std::min(step.size(), word.size() + 1));
    if (word == "@pause") {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(rest)));
    } else if (word == "@wait") {
      if (!session.WaitFor(rest, waitLimit)) {
        ADD_FAILURE() << "no line \"" << rest << "...\" within " << waitLimit.count() << " ms";
        return false;
      }
    } else if (word == "@close") {
      session.CloseInput();
    } else if (word == "@flood") {
      std::size_t blank = rest.find(' ');
      std::string line = rest.substr(blank + 1);
      for (int i = std::stoi(rest.substr(0, blank)); i > 0; --i) session.Send(line);
    } else {
      session.Send(step);
    }
  }
  return true;
}

std::vector<std::string> LinesStartingWith(UciSession& session, std::string_view prefix) {
  while (session.ReadLine(std::chrono::milliseconds(0))) {
  }
  std::vector<std::string> found;
  for (const std::string& line : session.Received()) {
    if (line.starts_with(prefix)) found.push_back(line);
  }
  return found;
}

}  // namespace vantro::test
