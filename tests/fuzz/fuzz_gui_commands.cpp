// The GUI's "position", "go" and "setoption" lines: any line is read; a
// recorded game replays legally move by move; every spin setting stays in the
// range the option list announces.
#include "base/text.h"
#include "fuzz/fuzz_check.h"
#include "search/go_request.h"
#include "search/position_command.h"
#include "tests/settings/recording_actions.h"

using namespace vantro;
using fuzz::Require;

namespace {

bool In(int value, int min, int max) {
  return value >= min && value <= max;
}

void CheckGame(const GameRecord& game) {
  Board board = game.start;
  for (int i = 0; i < game.Count(); ++i) {
    MoveInfo move = game.moves[i];
    Require(board.MakeMove(move, true), "the GUI game holds an illegal move");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static GameRecord game;
  Settings settings;
  test::RecordingActions actions(settings);
  for (std::string_view line : SplitWords(fuzz::AsText(data, size), "\n")) {
    if (line.starts_with("position")) {
      ReadPositionCommand(line, game);
      CheckGame(game);
    } else if (line.starts_with("go")) {
      ParseGo(line);
    } else {
      ApplySetting(line, settings, actions);
    }
  }
  Require(In(settings.hash, 0, 256) && In(settings.initTime, 0, 30) &&
              In(settings.delay, 0, 1000) && In(settings.levelType, 1, 2) &&
              In(settings.slowDown, 1, 100) && In(settings.protocol, 1, 2) &&
              In(settings.noise, -1, 99),
          "a spin setting outside its announced range");
  return 0;
}
