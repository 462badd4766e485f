#include "support/conversation.h"

#include <algorithm>
#include <optional>
#include <regex>
#include <thread>

#include "support/engine_log.h"
#include "support/fake_engine_script.h"

namespace vantro::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr Duration kWaitLimit{30000};
// How long lines still on their way may take to arrive once the steps are done.
constexpr Duration kArrival{3000};

// The step that failed, or nothing.
std::optional<std::string> PlaySteps(UciSession& session, const std::vector<std::string>& steps) {
  for (const std::string& step : steps) {
    const std::string word = step.substr(0, step.find(' '));
    const std::string rest = step.substr(std::min(step.size(), word.size() + 1));
    if (word == "@ready") {
      if (!session.Handshake(kWaitLimit)) return step;
    } else if (word == "@wait") {
      if (!session.WaitFor(rest, kWaitLimit)) return step;
    } else if (word == "@pause") {
      std::this_thread::sleep_for(Duration(std::stoi(rest)));
    } else if (word == "@close") {
      session.CloseInput();
    } else if (word == "@flood") {
      const std::size_t blank = rest.find(' ');
      for (int i = std::stoi(rest.substr(0, blank)); i > 0; --i)
        session.Send(rest.substr(blank + 1));
    } else {
      session.Send(step);
    }
  }
  return {};
}

// The first pattern that `lines` do not hold, or nothing.
std::optional<std::string> Unmet(const std::vector<std::string>& lines,
                                 const std::vector<std::string>& patterns) {
  std::optional<std::vector<std::string>::const_iterator> after;  // the last in-order match
  for (const std::string& pattern : patterns) {
    const bool counted = pattern.starts_with('#');
    const std::regex re(counted ? pattern.substr(pattern.find(' ') + 1) : pattern);
    auto matches = [&re](const std::string& line) { return std::regex_match(line, re); };
    if (counted) {
      if (std::count_if(lines.begin(), lines.end(), matches) != std::stol(pattern.substr(1))) {
        return pattern;
      }
    } else if (!after) {
      auto last = std::find_if(lines.rbegin(), lines.rend(), matches);
      if (last == lines.rend()) return pattern;
      after = last.base();
    } else {
      auto next = std::find_if(*after, lines.end(), matches);
      if (next == lines.end()) return pattern;
      after = next + 1;
    }
  }
  return {};
}

}  // namespace

std::unique_ptr<UciSession> StartVantro(const TempDir& dir, const std::string& program,
                                        const std::vector<std::string>& definition) {
  std::vector<std::string> args;
  if (!program.empty() || !definition.empty()) {
    std::string text = "[OPTIONS]\nLogfile=true\n";
    if (!program.empty()) text += "Program=" + program + "\n";
    for (const std::string& line : definition) text += line + "\n";
    args.push_back(dir.Write("x.eng", text));
  }
  return std::make_unique<UciSession>(dir.Path(), args);
}

void Converse(const Conversation& c) {
  TempDir dir;
  std::string program;
  if (!c.script.empty()) {
    FakeEngineScript script;
    for (const std::string& line : c.script) script.Add(line);
    program = script.WriteTo(dir);
  }
  std::unique_ptr<UciSession> session = StartVantro(dir, program, c.definition);
  if (std::optional<std::string> failed = PlaySteps(*session, c.gui)) {
    FAIL() << "step \"" << *failed << "\" failed within " << kWaitLimit.count() << " ms";
  }
  if (c.exitWithin.count() > 0) {
    ASSERT_EQ(session->WaitExit(c.exitWithin), 0)
        << "no clean exit within " << c.exitWithin.count() << " ms";
  }
  // What is still on its way gets a while to arrive.
  const Clock::time_point deadline = Clock::now() + kArrival;
  auto await = [&deadline](auto check) {
    std::optional<std::string> unmet;
    while ((unmet = check()) && Clock::now() < deadline) std::this_thread::sleep_for(Duration(20));
    return unmet;
  };
  std::optional<std::string> unmet = await([&] {
    while (session->ReadLine(Duration(0))) {
    }
    return Unmet(session->Received(), c.toGui);
  });
  EXPECT_FALSE(unmet) << "the GUI's lines do not hold " << *unmet;
  std::vector<std::string> got;
  unmet = await([&] {
    got = ReadEngineLog(EngineLogPath(dir)).ReceivedLines();
    return Unmet(got, c.toEngine);
  });
  EXPECT_FALSE(unmet) << "the engine's lines do not hold " << *unmet << " in "
                      << ::testing::PrintToString(got);
  EXPECT_EQ(ReadEngineLog(EngineLogPath(dir)).Notes("illegal"), std::vector<std::string>());
  unmet = await([&]() -> std::optional<std::string> {
    const std::string log = dir.Read("Vantro.log");
    for (const std::string& text : c.toLog) {
      const bool absent = text.starts_with("#0 ");
      if ((log.find(text.substr(absent ? 3 : 0)) == std::string::npos) != absent) return text;
    }
    return {};
  });
  EXPECT_FALSE(unmet) << "Vantro.log does not hold " << *unmet;
}

}  // namespace vantro::test
