// Runs record the actions played, not the keys that played them: the same play with the
// default keys and with a player's own makes the same run file, and the simulator, under the
// default bindings, replays it to the end the recording saw.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/frame/bindings.h"
#include "game/runs/window_runs.h"
#include "sim/headless_game.h"
#include "sim_runs.h"

namespace {

struct PlayKeys {
  int thrust, right, fire;
};

// Level 1 started from the menu by the fire key and flown for a few seconds under the table,
// recorded into the file at path.
void RecordPlay(const BindingTable& table, const PlayKeys& keys, const std::string& path) {
  HeadlessGame game(HeadlessGame::StateFile::kIgnored);
  MyApp& app = game.app();
  app.controls.SetBindings(table);
  auto recorder = std::make_unique<RunRecorder>();
  std::string message;
  ASSERT_TRUE(recorder->Open(path, message)) << message;
  auto runs = std::make_unique<WindowRuns>(std::move(recorder), std::vector<RecordedRun>(), false);
  WindowRuns& tap = *runs;
  app.AttachTap(std::move(runs));
  game.StepUntilLoaded();
  game.Step(80);
  game.TapKey(keys.fire);
  game.Step(240);  // the level is built and its intro plays
  // keys held, updates
  for (const auto& [held, updates] : {std::pair{std::vector{keys.thrust}, 40},
                                      {{keys.thrust, keys.right}, 50},
                                      {{keys.fire}, 20},
                                      {{}, 30}}) {
    for (const int key : held) game.KeyDown(key);
    game.Step(updates);
    for (const int key : held) game.KeyUp(key);
  }
  tap.Quit();
}

}  // namespace

class BindingsRunTest : public SimFolderTest {};

TEST_F(BindingsRunTest, ARunRecordedUnderOneBindingReplaysUnderAnother) {
  RecordPlay(kDefaultBindings, {key::kUp, key::kRight, 'Z'}, Path("default.txt"));
  BindingTable own = kDefaultBindings;
  BindKey(own, kThrust, 0, 'T');
  BindKey(own, kSteerRight, 0, 'L');  // L leaves the keys no action uses
  BindKey(own, kFire, 0, 'P');
  RecordPlay(own, {'T', 'L', 'P'}, Path("own.txt"));
  std::ifstream defaultFile(Path("default.txt")), ownFile(Path("own.txt"));
  const std::string recorded(std::istreambuf_iterator<char>(ownFile), {});
  EXPECT_EQ(recorded, std::string(std::istreambuf_iterator<char>(defaultFile), {}));
  EXPECT_NE(recorded.find(" UR\n"), std::string::npos) << recorded;

  const std::vector<std::string> lines = Lines(recorded);
  ASSERT_FALSE(lines.empty());
  const SimRun replay = Sim({"--replay", Path("own.txt").c_str()});
  EXPECT_EQ(replay.status, 0) << replay.err;
  EXPECT_EQ(replay.err, "");
  EXPECT_EQ(Lines(replay.out).back(), lines.back());
}
