#include "core/adapter.h"

#include "core/engine_session.h"
#include "core/setting_actions.h"

namespace vantro {

Adapter::Adapter()
    : actions(std::make_unique<AdapterSettingActions>(*this)),
      session(std::make_unique<AdapterEngineSession>(*this)),
      uci{searching, engineOptions, *actions, *session} {
  uptime.Start();
  statusPollTimer.SetCallback([this] {
    if (search.statusPoll == StatusPoll::kActive) SendToEngine(".");
  });
}

Adapter::~Adapter() {
  // Threads that call back into the adapter end before its members go.
  statusPollTimer.Stop();
  guiReader.Stop();
  engine.reader.Stop();
}

}  // namespace vantro
