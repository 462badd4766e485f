#include "uci/uci_loop.h"

#include "core/adapter.h"
#include "core/text.h"
#include "engine/engine_control.h"
#include "search/position_command.h"
#include "search/search_control.h"
#include "uci/option_setting.h"

namespace vantro {
namespace {

void AnswerUci(Adapter& a) {
  a.SendToGui("id name " + a.settings.EngineName());
  a.SendToGui("id author " + a.settings.engineAuthor);
  AnnounceOptions(a);
  a.SendToGui("uciok");
}

bool AnswerIsReady(Adapter& a) {
  if (a.log.IsHolding()) a.log.EndHolding();
  if (!a.engine.Running() && !EngineStart(a)) {
    a.SendToGui("info string Error starting engine.");
    if (a.signals.EngineEventHeld()) a.signals.SignalEngineEvent();
    return false;
  }
  a.SendToGui("readyok");
  return true;
}

}  // namespace

bool OnGuiLine(Adapter& a, std::string_view raw) {
  std::string_view line = Trim(raw);
  if (line.empty()) return true;
  a.Log(line, kTagFromGui);

  if (line == "uci") {
    AnswerUci(a);
  } else if (line == "isready") {
    return AnswerIsReady(a);
  } else if (line == "quit") {
    EngineStop(a);
  } else if (line == "stop") {
    HandleStop(a);
  } else {
    std::string_view command = GetWord(line, 1);
    if (command == "setoption") {
      ApplySetting(line, a.settings, *a.actions);
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
