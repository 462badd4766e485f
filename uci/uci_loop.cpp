#include "uci/uci_loop.h"

#include "base/text.h"
#include "engine/option_commands.h"
#include "search/position_command.h"
#include "search/search_control.h"
#include "uci/option_announcement.h"

namespace vantro {
namespace {

void AnswerUci(UciRecords& uci) {
  SearchRecords& a = uci.searching;
  // With EngineOptions the engine starts here, so that its own options can be
  // announced; a failed start is reported by the "isready" that tries again.
  if (a.settings.engineOptions && (a.engine.Running() || uci.session.Start())) {
    AdoptEngineOwnOptions(a.engine, a.log, uci.engineOptions);
  }
  a.SendToGui("id name " + a.settings.EngineName());
  a.SendToGui("id author " + a.settings.engineAuthor);
  AnnounceOptions(a.gui, a.settings, uci.engineOptions, a.log.IsFileOpen());
  a.SendToGui("uciok");
}

bool AnswerIsReady(SearchRecords& a, EngineSession& session) {
  if (a.log.IsHolding()) a.log.EndHolding();
  if (!a.engine.Running() && !session.Start()) {
    // An engine that died while starting has told the GUI why already.
    if (!a.engine.Gone()) a.SendToGui("info string Error starting engine.");
    session.StartFailed();
    return false;
  }
  a.SendToGui("readyok");
  return true;
}

}  // namespace

bool OnGuiLine(UciRecords& uci, std::string_view raw) {
  SearchRecords& a = uci.searching;
  std::string_view line = Trim(raw);
  if (line.empty()) return true;
  a.Log(line, kTagFromGui);

  if (line == "uci") {
    AnswerUci(uci);
  } else if (line == "isready") {
    return AnswerIsReady(a, uci.session);
  } else if (line == "quit") {
    uci.session.Stop();
  } else if (line == "stop") {
    HandleStop(a);
  } else {
    std::string_view command = GetWord(line, 1);
    if (command == "setoption") {
      ApplySetting(line, a.settings, uci.actions);
    } else if (command == "go") {
      HandleGo(a, line, false);
    } else if (command == "position") {
      HandlePosition(a, line);
    } else if (command == "ponderhit") {
      HandlePonderHit(a);
    }
  }
  return true;
}

}  // namespace vantro
